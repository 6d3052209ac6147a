// The show in a real browser: the browser build's page in headless Chromium (WebGL 2 on SwiftShader,
// through ANGLE), driven by browser_run.mjs.
//
// Capture: the page's capture mode runs the show on the same virtual time as `demo --capture`, so
// both captures must hold the same frames and the same sound to the byte, and pictures that agree
// within one step per channel but for the few pixels measured below. The show is the one the
// Direct3D 8 comparison captures (compare_show.h), at its 8 frames/s and 320 x 240, to its end:
// every part of the show, in about half a minute of SwiftShader.
//
// Live: the page as a person meets it: a click starts sound and show, the music is heard (the
// player's samples are not silent and the audio clock runs), the show's clock follows it, F toggles
// full screen, and Escape ends the show with its report on the page. The screenshot is kept (live/playing.png).
//
// Messages: where the page cannot play, it says why: a missing, damaged or foreign archive, a file
// that is no archive, a browser without WebGL 2 or Web Audio.
//
// Skipped (exit status 77) without the browser build (scripts/web.sh), Chromium or Node.

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "compare_show.h"
#include "gfx/png_file.h"
#include "support/capture_frames.h"

namespace demo::scenes {
namespace {

namespace fs = std::filesystem;

constexpr int SkippedStatus = 77;  // ctest's SKIP_RETURN_CODE
constexpr const char* Fps = "8";
constexpr const char* Size = "320x240";
constexpr int LiveSeconds = 6;

bool fileExists(const std::string& path) {
  struct stat s;
  return stat(path.c_str(), &s) == 0;
}

std::string missingPrerequisite() {
  if (!fileExists(WEB_BUILD "/demo.js") || !fileExists(WEB_BUILD "/index.html"))
    return "no browser build (" WEB_BUILD "/demo.js is missing: scripts/web.sh builds it where emscripten is "
           "installed)";
  if (std::system("command -v node >/dev/null") != 0) return "Node.js is not installed";
  if (std::system("command -v \"${CHROMIUM:-chromium}\" >/dev/null") != 0) return "Chromium is not installed";
  return {};
}

std::string readText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A number or string field of live.json, looked for after `section`; NaN or empty when absent.
double number(const std::string& json, const std::string& section, const std::string& key) {
  const size_t from = json.find("\"" + section + "\"");
  const size_t at = from == std::string::npos ? from : json.find("\"" + key + "\":", from);
  if (at == std::string::npos) return std::nan("");
  return std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

std::string text(const std::string& json, const std::string& section, const std::string& key) {
  const size_t from = json.find("\"" + section + "\"");
  const size_t at = from == std::string::npos ? from : json.find("\"" + key + "\": \"", from);
  if (at == std::string::npos) return {};
  const size_t start = at + key.size() + 5;
  return json.substr(start, json.find('"', start) - start);
}

// The strings of an array field of live.json, looked for after `section`.
std::vector<std::string> strings(const std::string& json, const std::string& section, const std::string& key) {
  std::vector<std::string> found;
  const size_t from = json.find("\"" + section + "\"");
  size_t at = from == std::string::npos ? from : json.find("\"" + key + "\": [", from);
  if (at == std::string::npos) return found;
  const size_t end = json.find(']', at);
  at += key.size() + 5;  // past "key": [
  for (size_t open; (open = json.find('"', at)) < end;) {
    const size_t close = json.find('"', open + 1);
    found.push_back(json.substr(open + 1, close - open - 1));
    at = close + 1;
  }
  return found;
}

// Everything the tests look at, made once for the whole process. A run that fails leaves its log.
struct Runs {
  fs::path show, archive, native, browser, live, messages;
  int packStatus = -1, nativeStatus = -1, browserStatus = -1, liveStatus = -1, messagesStatus = -1;
};

int run(const std::string& command, const fs::path& log) {
  return std::system((command + " >" + shellWord(log.string()) + " 2>&1").c_str());
}

const Runs& runs() {
  static const Runs made = [] {
    Runs r;
    const fs::path work = WORK_DIR;
    fs::create_directories(work);
    r.show = compareShowFolder(CONFIGURED_SHOW, work, COMPARE_SHOW_SCRIPT);
    r.archive = work / "show.pak";
    r.native = work / "native";
    r.browser = work / "browser";
    r.live = work / "live";
    r.messages = work / "messages";
    fs::remove_all(r.native);
    const std::string options = std::string(" --fps ") + Fps + secondsOption() + " --size " + Size;
    std::printf("capturing %s at %s frames/s, %s%s\n", r.show.c_str(), Fps, Size, secondsOption().c_str());
    r.packStatus = run(shellWord(DEMO_PACK) + " -o " + shellWord(r.archive.string()) + " --archive-only " +
                           shellWord(r.show.string()),
                       work / "pack.log");
    r.nativeStatus = captureShow(r.show, shellWord(DEMO_EXE), r.native, options);
    const std::string driver = "node " + shellWord(BROWSER_RUN) + " ";
    const std::string page = shellWord(WEB_BUILD) + " " + shellWord(r.archive.string()) + " ";
    r.browserStatus = run(driver + "capture " + page + shellWord(r.browser.string()) + options, work / "browser.log");
    r.liveStatus = run(driver + "live " + page + shellWord(r.live.string()) + " --seconds " +
                           std::to_string(LiveSeconds),
                       work / "live.log");
    // One byte changed inside the first member: its checksum no longer holds.
    std::vector<char> damaged = test::fileBytes(r.archive);
    if (damaged.size() > 100) damaged[100] = static_cast<char>(damaged[100] ^ 0x55);
    std::ofstream(work / "damaged.pak", std::ios::binary)
        .write(damaged.data(), static_cast<std::streamsize>(damaged.size()));
    r.messagesStatus = run(driver + "messages " + page + shellWord(r.messages.string()) + " --damaged " +
                               shellWord((work / "damaged.pak").string()),
                           work / "messages.log");
    return r;
  }();
  return made;
}

class BrowserComparison : public ::testing::Test {
 protected:
  void SetUp() override {
    const Runs& r = runs();
    ASSERT_EQ(r.packStatus, 0) << "demo-pack --archive-only failed: see " << WORK_DIR << "/pack.log";
  }
};

TEST_F(BrowserComparison, BothCapturesHoldTheSameFramesAndTheSameSound) {
  const Runs& r = runs();
  ASSERT_EQ(r.nativeStatus, 0) << "demo --capture failed: see " << r.native << ".log";
  ASSERT_EQ(r.browserStatus, 0) << "the page's capture failed: see " << WORK_DIR << "/browser.log and "
                                << r.browser / "console.log";
  const std::vector<fs::path> native = test::captureFrames(r.native), browser = test::captureFrames(r.browser);
  ASSERT_FALSE(native.empty());
  ASSERT_EQ(browser.size(), native.size());
  const std::vector<char> nativeSound = test::fileBytes(r.native / "audio.wav");
  const std::vector<char> browserSound = test::fileBytes(r.browser / "audio.wav");
  EXPECT_GT(nativeSound.size(), 44u);
  EXPECT_TRUE(nativeSound == browserSound) << "audio.wav differs: " << nativeSound.size() << " and "
                                           << browserSound.size() << " bytes";
}

// SwiftShader (the browser's WebGL 2 here) against llvmpipe (the native capture): the same draw calls
// land differently in two ways, measured on the built-in show (799 frames at 320 x 240) with the
// per-frame figures DEMO_COMPARE_STATS=1 prints, and both seen on the evidence DEMO_SNAPSHOT_DIR gets:
//
// - Filtering. Where a linearly filtered texture is magnified (the checkerboard behind the blend
//   modes, the plasma, the clouds), pixels between two texels differ by up to 16 steps: SwiftShader
//   weighs the two texels more coarsely than llvmpipe's 1/256 of a texel. Thousands of pixels a
//   frame, never more than 16 steps (frame 162: 2206 pixels by 13 to 16).
// - Edges. SwiftShader snaps vertices to 1/16 of a pixel (the least Vulkan allows; llvmpipe keeps
//   1/256), so a quad's edge passing within a 32nd of a pixel centre covers that pixel in one and
//   not in the other: a row or column along the edge takes the colour beside it, as far as the
//   native pixel's neighbours show (the moving plasma's right edge, frame 207: 111 pixels, up to 239
//   steps off their own pixel, none more than 16 off a neighbour). Where the browser covers the
//   extra column, its pixels sample the texture just outside the edge, which wraps round to the
//   texture's far side: a few pixels like no native neighbour (frame 223: 10 of them, up to 55).
//
// So each pixel is within FilterSteps of the native one; or, along an edge, of one of the native
// pixel's eight neighbours, for at most ImageSlack's edge pixels a frame; and at most its stray
// pixels a frame are neither, by at most its stray steps.
// Measured: 16 steps; 111 edge pixels; 20 stray ones, up to 55 steps.
constexpr int FilterSteps = 16;
struct Slack {
  int edgePixels, strayPixels, straySteps;
};
constexpr Slack ImageSlack = {160, 32, 64};

// The voyage's 3D scene in the built-in show (music time 56.6 s to 71.1 s, frames 492 to 615 at this test's
// 8 frames/s) is drawn largely with one-pixel lines, and the two rasterizers choose a line's pixels by
// their own rules: where a line runs near the boundary between two pixels, one lights the one and the other
// its neighbour (edge pixels: up to 750 a frame in the wireframe frames, seen on the evidence as whole
// lines shifted by a pixel), and a line's ends differ by a pixel. Strays come from the wireframe drawn over
// the scene's own solid faces: at equal depth a line pixel passes LESSEQUAL or not by the last bits of
// depth, interpolated differently along a line than across a face, so a blended line pixel shows in one and
// not the other (frame 562: 96 of them, up to 43 steps), and a line's end pixel over the dark sky lit in
// one only (frame 581: a white pixel, 246 steps). Measured: 752 edge pixels, 101 strays (the embers that
// follow the flying gem add a few), up to 246 steps.
struct FrameSlack {
  int first, last;  // frame numbers
  Slack slack;
};
// The drive's sparks (frames 706 to 737): each spark is the lens flare drawn a few pixels wide, so its thin
// rings and rays are a texel across and fall between pixel centres; the corners' snap to a sixteenth of a
// pixel (above) moves a ring's sample onto the texel beside it, lit or dark (frame 718: 65 such pixels, up
// to 56 steps). Measured: 41 edge pixels, 65 strays, up to 74 steps.
constexpr FrameSlack frameSlacks[] = {{492, 615, {900, 128, 255}}, {706, 737, {160, 96, 96}}};

Slack slackFor(const fs::path& frame) {
  const int number = std::atoi(frame.filename().string().c_str() + std::strlen("frame_"));
  for (const FrameSlack& f : frameSlacks)
    if (number >= f.first && number <= f.last) return f.slack;
  return ImageSlack;
}

::testing::AssertionResult agree(const fs::path& nativeFile, const fs::path& browserFile) {
  std::vector<uint8_t> a, b;
  uint32_t w = 0, h = 0, w2 = 0, h2 = 0;
  if (!readPng(nativeFile.c_str(), a, w, h) || !readPng(browserFile.c_str(), b, w2, h2))
    return ::testing::AssertionFailure() << nativeFile.filename() << " cannot be read from both captures";
  if (w != w2 || h != h2) return ::testing::AssertionFailure() << nativeFile.filename() << " differs in size";
  const auto differ = [&](uint32_t native, uint32_t browser) {
    int most = 0;
    for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(a[native * 4 + c] - b[browser * 4 + c]));
    return most;
  };
  int largest = 0, edges = 0, strays = 0, strayLargest = 0;
  std::string first;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t i = y * w + x;
      const int own = differ(i, i);
      largest = std::max(largest, own);
      if (own <= FilterSteps) continue;
      int nearest = own;
      for (uint32_t ny = y ? y - 1 : 0; ny <= std::min(y + 1, h - 1); ++ny)
        for (uint32_t nx = x ? x - 1 : 0; nx <= std::min(x + 1, w - 1); ++nx)
          nearest = std::min(nearest, differ(ny * w + nx, i));
      if (nearest <= FilterSteps) {
        ++edges;
        continue;
      }
      ++strays;
      strayLargest = std::max(strayLargest, nearest);
      if (strays <= 4) {
        char text[112];
        std::snprintf(text, sizeof text, " (%u, %u): native %d %d %d, browser %d %d %d;", x, y, a[i * 4], a[i * 4 + 1],
                      a[i * 4 + 2], b[i * 4], b[i * 4 + 1], b[i * 4 + 2]);
        first += text;
      }
    }
  if (std::getenv("DEMO_COMPARE_STATS") && largest > 1)
    std::printf("%s: largest %d, edge pixels %d, stray pixels %d (up to %d)\n", nativeFile.filename().c_str(), largest,
                edges, strays, strayLargest);
  if (largest > 1) test::writeFrameEvidence("browser-" + nativeFile.filename().string(), a, b, w, h);
  const Slack slack = slackFor(nativeFile);
  if (edges <= slack.edgePixels && strays <= slack.strayPixels && strayLargest <= slack.straySteps)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << nativeFile.filename() << ": " << edges << " pixels beyond " << FilterSteps
                                       << " steps from their own but not their neighbours', " << strays
                                       << " beyond from both (up to " << strayLargest << ")" << first;
}

TEST_F(BrowserComparison, FramesAgreeWithTheNativeCapture) {
  const Runs& r = runs();
  ASSERT_EQ(r.nativeStatus, 0);
  ASSERT_EQ(r.browserStatus, 0);
  for (const fs::path& frame : test::captureFrames(r.native)) EXPECT_TRUE(agree(frame, r.browser / frame.filename()));
}

TEST_F(BrowserComparison, AClickStartsSoundAndShowFTogglesFullScreenAndEscapeEndsThem) {
  const Runs& r = runs();
  ASSERT_EQ(r.liveStatus, 0) << "the live page failed: see " << WORK_DIR << "/live.log and "
                             << r.live / "console.log";
  const std::string json = readText(r.live / "live.json");
  EXPECT_EQ(text(json, "playing", "state"), "running");
  EXPECT_GT(number(json, "playing", "frames"), 0) << "frames were presented";
  // Sound was produced: the player played samples that were not silent, for most of the time.
  const double played = number(json, "playing", "playedFrames");
  EXPECT_GT(number(json, "playing", "peak"), 0.05);
  EXPECT_GT(number(json, "playing", "soundFrames"), 44100.0 * LiveSeconds / 2);
  EXPECT_GT(played, 44100.0 * (LiveSeconds - 1)) << "the audio clock ran";
  // The show's clock is the music's, as heard when the frame was presented: it reads the end of the
  // 20 ms block being played, and runs about 5 % slow (it counts whole milliseconds), so it lies
  // between nine tenths of the time heard, less a slow frame's worth, and that time plus a block.
  const double heardMs = number(json, "playing", "heardMs"), demoTime = number(json, "playing", "demoTime");
  EXPECT_GT(demoTime, 0);
  EXPECT_LE(demoTime, heardMs + 20);
  EXPECT_GE(demoTime, heardMs * 0.9 - 150);
  EXPECT_EQ(strings(json, "playing", "fullscreen"), (std::vector<std::string>{"canvas", ""}))
      << "F puts the canvas in full screen and takes it out again";
  EXPECT_EQ(text(json, "ended", "state"), "ended") << "Escape ended the show";
  EXPECT_EQ(number(json, "ended", "exitCode"), 0);
  EXPECT_EQ(text(json, "ended", "message").rfind("Feierabend: ", 0), 0u) << "the report is on the page";
  EXPECT_TRUE(fileExists((r.live / "playing.png").string()));
}

TEST_F(BrowserComparison, WhereThePageCannotPlayItSaysWhy) {
  const Runs& r = runs();
  ASSERT_EQ(r.messagesStatus, 0) << "see " << WORK_DIR << "/messages.log";
  const std::string json = readText(r.messages / "messages.json");
  for (const char* c : {"missing", "damaged", "notArchive", "foreign", "noWebGl2", "noWebAudio"})
    EXPECT_EQ(text(json, c, "state"), "failed") << c << " was not refused";
  EXPECT_EQ(text(json, "missing", "message"),
            "Cannot load the show: The archive nothing.pak is missing: the server answered 404 Not Found");
  EXPECT_EQ(text(json, "damaged", "message").rfind("Cannot play the show: damaged.pak is damaged: its member ", 0), 0u)
      << text(json, "damaged", "message");
  EXPECT_EQ(text(json, "notArchive", "message"),
            "Cannot play the show: index.html is not a show archive: it does not end in an archive's trailer.");
  EXPECT_NE(text(json, "foreign", "message").find("its own site only"), std::string::npos) << "nothing fetched";
  EXPECT_EQ(text(json, "noWebGl2", "message").rfind("No WebGL 2: ", 0), 0u);
  EXPECT_EQ(text(json, "noWebAudio", "message").rfind("No Web Audio: ", 0), 0u);
}

}  // namespace
}  // namespace demo::scenes

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::string missing = demo::scenes::missingPrerequisite();
  if (!missing.empty()) {
    std::printf("SKIPPED: the show cannot be run in a browser here: %s\n", missing.c_str());
    return demo::scenes::SkippedStatus;
  }
  return RUN_ALL_TESTS();
}
