// The show's script as the engine reads it.

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

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

std::string scriptText() {
  const std::vector<unsigned char> bytes = readFile(showcaseData() / "demo.run");
  return {bytes.begin(), bytes.end()};
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
  const std::string text = scriptText();
  for (const char* mode : {"copy", "add", "addalpha", "addcolor", "copyalpha", "copycolor", "mixalpha", "mixcolor"})
    EXPECT_TRUE(std::regex_search(text, std::regex(std::string("\\n\\s*showimage <[^>]+> ") + mode + " ")))
        << "no showimage in mode " << mode;
  for (const char* command : {"fadeimage", "moveimage", "sizeimage", "blurimage", "spackblurimage", "makegridimage",
                              "make2dblobs", "show2dblobs", "fadebg"})
    EXPECT_TRUE(std::regex_search(text, std::regex(std::string("\\n\\s*") + command + " "))) << command;
  EXPECT_TRUE(std::regex_search(text, std::regex("\\n\\s*\\[[a-z]+\\]"))) << "no label";
  EXPECT_TRUE(std::regex_search(text, std::regex("\\n\\s*end\\s*$"))) << "the show must close with end";
}

}  // namespace
}  // namespace demo::test
