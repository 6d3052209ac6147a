// The show's script as the engine reads it.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/script_check.h"
#include "showcase_files.h"
#include "support/testdata.h"

namespace demo::test {
namespace {

std::string readText(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

// The script's statements as words, one statement a line, comments left out.
std::vector<std::vector<std::string>> statements() {
  const std::vector<unsigned char> bytes = readFile(showcaseData() / "demo.run");
  std::istringstream text(std::string(bytes.begin(), bytes.end()));
  std::vector<std::vector<std::string>> result;
  for (std::string line; std::getline(text, line);) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::vector<std::string> statement;
    for (std::string word; words >> word;) statement.push_back(word);
    if (!statement.empty()) result.push_back(statement);
  }
  return result;
}

bool uses(const std::vector<std::vector<std::string>>& script, const std::string& command,
          const std::string& mode = "") {
  for (const auto& s : script)
    if (s[0] == command && (mode.empty() || (s.size() > 2 && s[2] == mode))) return true;
  return false;
}

TEST(ShowScript, CompilesWithoutAnError) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int status = checkScript((showcaseData() / "demo.run").c_str(), out, err);
  EXPECT_EQ(status, 0) << readText(err);
  EXPECT_NE(readText(out).find("instructions"), std::string::npos);
  std::fclose(out);
  std::fclose(err);
}

// The show is the engine's demonstration: an edit that drops one of its features should fail here.
TEST(ShowScript, ShowsEveryBlendModeAndEveryTwoDimensionalEffect) {
  const auto script = statements();
  ASSERT_FALSE(script.empty());
  for (const char* mode : {"copy", "add", "addalpha", "addcolor", "copyalpha", "copycolor", "mixalpha", "mixcolor"})
    EXPECT_TRUE(uses(script, "showimage", mode)) << "no showimage in mode " << mode;
  for (const char* command : {"fadeimage", "moveimage", "sizeimage", "blurimage", "spackblurimage", "makegridimage",
                              "make2dblobs", "show2dblobs", "fadebg"})
    EXPECT_TRUE(uses(script, command)) << command;
  bool labelled = false;
  for (const auto& s : script) labelled = labelled || s[0].front() == '[';
  EXPECT_TRUE(labelled) << "no label";
  EXPECT_EQ(script.back(), std::vector<std::string>{"end"}) << "the show must close with end";
}

}  // namespace
}  // namespace demo::test
