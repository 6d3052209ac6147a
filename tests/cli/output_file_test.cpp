// Output files are complete or absent: the old file survives a failed write, the temporary file
// never outlives the writer.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/output_file.h"
#include "support/testdata.h"

namespace demo::test {
namespace {

namespace fs = std::filesystem;

std::string text(const fs::path& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t entries(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(OutputFile, ReplacesTheOldFileOnlyWhenCommitted) {
  TempDir dir;
  const fs::path target = dir / "out.wav";
  std::ofstream(target) << "old";
  {
    cli::OutputFile file(target);
    EXPECT_EQ(file.temporary().parent_path(), dir.path());
    std::ofstream(file.temporary()) << "half";
    // No commit: as after a failure or an exception.
  }
  EXPECT_EQ(text(target), "old");
  EXPECT_EQ(entries(dir.path()), 1u);

  cli::OutputFile file(target);
  std::ofstream(file.temporary()) << "new";
  std::string error;
  ASSERT_TRUE(file.commit(error)) << error;
  EXPECT_EQ(text(target), "new");
  EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(OutputFile, AFailedRenameSaysWhyAndLeavesNothingBehind) {
  TempDir dir;
  const fs::path target = dir / "taken";
  fs::create_directories(target / "inside");  // a non-empty folder cannot be renamed over
  cli::OutputFile file(target);
  std::ofstream(file.temporary()) << "x";
  std::string error;
  EXPECT_FALSE(file.commit(error));
  EXPECT_NE(error.find(target.string() + ": cannot replace it: "), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(file.temporary()));
}

}  // namespace
}  // namespace demo::test
