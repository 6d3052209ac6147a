// demo --check: the report on stdout or stderr and the exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/script_check.h"
#include "support/testdata.h"

namespace demo::test {
namespace {

std::string contents(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, file)) text += buffer;
  return text;
}

struct CheckResult {
  int code;
  std::string out, err;
};

CheckResult check(const TempDir& dir, const std::string& script) {
  const std::string path = (dir / "show.run").string();
  writeFile(path, std::vector<unsigned char>(script.begin(), script.end()));
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  CheckResult result{checkScript(path.c_str(), out, err), contents(out), contents(err)};
  std::fclose(out);
  std::fclose(err);
  return result;
}

TEST(ScriptCheck, ReportsTheCountsOfAGoodScript) {
  TempDir dir;
  const CheckResult r = check(dir, "start\n[a]\nat [a]+1:000 [b]\nfadebg 0 1 +1\nend\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, (dir / "show.run").string() + ": 4 instructions, 2 labels\n");
  EXPECT_EQ(r.err, "");
}

TEST(ScriptCheck, NamesFileLineAndWhatWasWrong) {
  TempDir dir;
  const std::string file = (dir / "show.run").string();
  const struct {
    const char* script;
    std::string expected;
  } cases[] = {
      {"start\n\nfoo\n", file + ":3: unknown command \"foo\"\n"},
      {"start\nshowimage <x> add 1\n", file + ":2: undeclared image\n"},
      {"start\nat 1:00\n  fadebg 0 1\n", file + ":3: missing time\n"},
      {"loadmusic <m \"a.xm\"\n", file + ":1: missing '>'\n"},
      {"start\n[a]\n[a]\n", file + ":3: label redefinition\n"},
  };
  for (const auto& c : cases) {
    const CheckResult r = check(dir, c.script);
    EXPECT_EQ(r.code, -6) << c.script;
    EXPECT_EQ(r.err, c.expected);
    EXPECT_EQ(r.out, "");
  }
}

TEST(ScriptCheck, AMissingScriptFailsLikeStartUp) {
  TempDir dir;
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const std::string path = (dir / "absent.run").string();
  EXPECT_EQ(checkScript(path.c_str(), out, err), -6);
  EXPECT_EQ(contents(err), path + ": cannot be opened: not found (neither in the archive nor on disk)\n");
  std::fclose(out);
  std::fclose(err);
}

}  // namespace
}  // namespace demo::test
