// --watch: a change on disk reloads the show at the same music time; a script that does not compile
// or a file that does not load keeps the last good show running, saying why; reloading over and
// over leaks nothing (the sanitizer build runs this too).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "app_harness.h"
#include "support/square_tune.h"
#include "writers/xm_writer.h"

namespace demo::test {
namespace {

// A 64 x 64 grey picture, uncompressed true colour.
std::vector<unsigned char> greyTga() {
  std::vector<unsigned char> tga(18 + 64 * 64 * 3, 0x40);
  std::fill(tga.begin(), tga.begin() + 18, 0);
  tga[2] = 2, tga[12] = 64, tga[14] = 64, tga[16] = 24;
  return tga;
}

class Watch : public ::testing::Test {
 protected:
  void SetUp() override {
    // Reloads load every file as the show would, the tune too (the scripted player then plays it).
    saveXm(h.dir / "song.xm", squareTune());
    writeFile(h.dir / "pic.tga", greyTga());
    goodScript = "loadmusic <m> \"" + (h.dir / "song.xm").string() + "\"\n" +
                 "start\nplaymusic <m>\nfadebg 0xff000000 0xff000000 +0\nat 60:000\nend\n";
    h.recordFrames(100);
    h.app.setWatch(true, std::chrono::milliseconds(0));
    h.app.setLog(log_);
  }
  void TearDown() override { std::fclose(log_); }

  // Writes the script anew, with a modification time that surely differs from the last.
  void rewrite(const std::string& text) {
    const auto path = h.dir / "demo.run";
    writeFile(path, std::vector<unsigned char>(text.begin(), text.end()));
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() +
                                               std::chrono::seconds(++edits_));
  }
  // Runs the script, calling `edit` before each idle pass, until Escape after `passes`.
  void run(const std::string& script, int passes, std::function<void(int pass)> edit) {
    h.host.onIdle = [this, passes, edit, idle = h.host.onIdle](HeadlessHost& host) {
      idle(host);
      edit(h.idlePasses);
      titles.push_back(host.title);
      if (h.idlePasses == passes) host.queueKey(KeyEscape);
    };
    EXPECT_EQ(h.run(script), 0);
  }
  std::string logText() {
    std::rewind(log_);
    std::string text;
    for (int c; (c = std::fgetc(log_)) != EOF;) text += static_cast<char>(c);
    return text;
  }
  int count(const std::string& call) const { return int(std::count(h.music.calls.begin(), h.music.calls.end(), call)); }

  AppHarness h;
  std::string goodScript;
  std::vector<std::string> titles;

 private:
  std::FILE* log_ = std::tmpfile();
  int edits_ = 0;
};

TEST_F(Watch, AChangedScriptReloadsAtTheSameMusicTime) {
  run(goodScript, 30, [this](int pass) {
    if (pass == 20) rewrite(std::string(goodScript).replace(goodScript.find("0xff000000 +0"), 10, "0xffffffff"));
  });
  // The change is written before pass 20's frame, which reads 2.0 s; the watch sees it right after
  // that frame, and the fresh show starts at 2.0 s.
  ASSERT_EQ(count("startModuleAt 2000"), 1) << ::testing::PrintToString(h.music.calls);
  EXPECT_NE(logText().find("demo.run: reloaded, the first new frame "), std::string::npos) << logText();
  const std::vector<uint32_t> clears = h.clearColours();
  EXPECT_EQ(clears.back(), 0xffffffffu) << "the new show draws";
}

TEST_F(Watch, AScriptThatNoLongerCompilesKeepsTheLastGoodShowAndSaysWhy) {
  run(goodScript, 40, [this](int pass) {
    if (pass == 10) rewrite(goodScript + "fadebg 1 2\n");
    if (pass == 25) rewrite(goodScript);
  });
  const std::string log = logText();
  EXPECT_NE(log.find("demo.run:7: "), std::string::npos) << log;
  EXPECT_NE(titles[15].find("demo.run:7: "), std::string::npos) << titles[15];
  EXPECT_EQ(titles[35].find("demo.run:"), std::string::npos) << "fixed: " << titles[35];
  EXPECT_EQ(count("startModule"), 1) << "the first show played on through the broken script";
  EXPECT_EQ(h.music.freed.size(), 2u) << "the first show's module, then the fixed show's (Escape)";
}

TEST_F(Watch, AFileThatNoLongerLoadsKeepsTheLastGoodShowAndSaysWhy) {
  const std::string withPicture = "loadtexture <t> \"" + (h.dir / "pic.tga").string() + "\" 64 64 0\n" + goodScript;
  const std::vector<unsigned char> junk{'n', 'o', 't', ' ', 'a', ' ', 't', 'g', 'a'};
  run(withPicture, 30, [&](int pass) {
    if (pass == 10) {
      writeFile(h.dir / "pic.tga", junk);
      std::filesystem::last_write_time(h.dir / "pic.tga",
                                       std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
    }
  });
  const std::string log = logText();
  EXPECT_NE(log.find("demo.run:1: loadtexture \""), std::string::npos) << log;
  EXPECT_EQ(h.host.messageBoxes.back().caption, "Feierabend") << "the old show ran on to Escape";
  EXPECT_NE(titles[20].find(":1: loadtexture"), std::string::npos) << titles[20];
  EXPECT_EQ(count("startModule"), 1) << "no reload";
}

TEST_F(Watch, AThousandReloadsLeakNothing) {
  // No music (the scripted player hands out a few modules only); every reload compiles, checks and
  // swaps a show with an image and a texture made from a file.
  const std::string script = "loadtexture <t> \"" + (h.dir / "pic.tga").string() + "\" 64 64 0\n" +
                             "makeimage <a> <t> 0 0 1 1\nstart\nshowimage <a> copy +1:000\nat 60:000\nend\n";
  int reloads = 0;
  run(script, 2004, [&](int pass) {
    if (pass > 2 && pass < 2003 && pass % 2 == 0) {
      rewrite(script + (pass % 4 ? "# a\n" : "# bb\n"));
      ++reloads;
    }
  });
  EXPECT_EQ(reloads, 1000);
  const std::string log = logText();
  size_t seen = 0;
  for (size_t at = log.find("reloaded,"); at != std::string::npos; at = log.find("reloaded,", at + 1)) ++seen;
  EXPECT_EQ(seen, 1000u);
}

}  // namespace
}  // namespace demo::test
