#pragma once
// Where the real files made by other projects live, and a skip when they are absent.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace demo::test {

// The folder of shared test data: $DEMO_TESTDATA when set, else the path configured at build time.
std::filesystem::path testdataDir();

// Every file below testdataDir()/sub whose name ends in one of the extensions (case-insensitive),
// sorted by name. Empty when the folder is absent.
std::vector<std::filesystem::path> testdataFiles(const std::string& sub, const std::vector<std::string>& extensions);

std::vector<unsigned char> readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

// A fresh empty folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace demo::test

// Skips the current test, saying so, when the shared test data folder is missing.
#define DEMO_REQUIRE_TESTDATA()                                                                    \
  do {                                                                                             \
    if (!std::filesystem::is_directory(::demo::test::testdataDir()))                               \
      GTEST_SKIP() << "shared test data not found at " << ::demo::test::testdataDir()             \
                   << " (set DEMO_TESTDATA)";                                                      \
  } while (0)
