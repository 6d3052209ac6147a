#pragma once
// The minimised files of tests/regress/<format>/.

#include <cstdint>
#include <string>
#include <vector>

#include "support/testdata.h"

namespace demo::test {

inline std::vector<uint8_t> regressFile(const std::string& format, const std::string& name) {
  return readFile(std::filesystem::path(DEMO_REGRESS_DIR) / format / name);
}

}  // namespace demo::test
