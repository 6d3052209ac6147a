#pragma once
#include <string>

namespace demo {

// Full path of the running executable (/proc/self/exe on Linux, GetModuleFileNameA on Windows,
// WebExecutablePath in a browser), or empty when the platform cannot tell.
std::string executablePath();

// In a browser the page is the program: it fetches the show's archive and stores it here, in
// emscripten's in-memory file system, where the executable would be.
inline constexpr char WebExecutablePath[] = "/demo";

}  // namespace demo
