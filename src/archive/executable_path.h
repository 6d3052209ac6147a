#pragma once
#include <string>

namespace demo {

// Full path of the running executable (/proc/self/exe on Linux, GetModuleFileNameA on Windows),
// or empty when the platform cannot tell.
std::string executablePath();

}  // namespace demo
