// Start-up: the order, the five failures with their boxes and exit codes, the window switch and
// the cursor.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app_harness.h"

namespace demo::test {
namespace {

void expectBox(const HeadlessHost& host, const char* text, const char* caption, MessageIcon icon) {
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(host.messageBoxes[0].text, text);
  EXPECT_EQ(host.messageBoxes[0].caption, caption);
  EXPECT_EQ(host.messageBoxes[0].icon, icon);
}

TEST(StartupScript, AMissingScriptIsReportedBeforeAnyWindow) {
  AppHarness h;
  EXPECT_EQ(h.app.run("win", (h.dir / "demo.run").c_str()), -6);
  expectBox(h.host, "Script is nich da", "Lameralarm!", MessageIcon::Error);
  EXPECT_EQ(h.host.windowsCreated, 0);
}

TEST(StartupScript, AScriptErrorNamesTheLineWithTheEmptyOrFixedText) {
  AppHarness unknown;
  EXPECT_EQ(unknown.run("start\n\nfoo\n"), -6);
  expectBox(unknown.host, "line 3: ", "Lameralarm!", MessageIcon::Error);
  AppHarness undeclared;
  EXPECT_EQ(undeclared.run("start\nshowimage <x> add 1\n"), -6);
  expectBox(undeclared.host, "line 2: undeclared image", "Lameralarm!", MessageIcon::Error);
  EXPECT_EQ(undeclared.host.windowsCreated, 0);
}

TEST(StartupFailures, WindowDeviceAndAudioEachHaveTheirBoxAndCode) {
  AppHarness noWindow;
  noWindow.host.failCreateWindow = true;
  EXPECT_EQ(noWindow.run("end\n"), -2);
  expectBox(noWindow.host, "Isch krisch kein Fenster!", "Kapuuuuuuut!", MessageIcon::Error);
  EXPECT_TRUE(noWindow.d3d->attempts.empty());

  AppHarness noDevice;
  noDevice.d3d->failingAttempts = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
                                   {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
                                   {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}};
  EXPECT_EQ(noDevice.run("end\n"), -1);
  expectBox(noDevice.host, "Scheisendreck Grafik geht net!", "Feeeeehler", MessageIcon::Error);
  EXPECT_EQ(noDevice.layer.direct3d(), nullptr) << "released on the failure path";
  EXPECT_TRUE(noDevice.music.calls.empty());

  AppHarness noAudio;
  noAudio.music.canOpen = false;
  EXPECT_EQ(noAudio.run("end\n"), -4);
  expectBox(noAudio.host, "Dem Scheisendreck Modplayaaa is kaputt!", "Trasch-Musik!", MessageIcon::Error);
  EXPECT_EQ(noAudio.layer.device(), nullptr);
}

TEST(StartupWindow, WinAnywhereInTheCommandLineMeansAWindow) {
  EXPECT_TRUE(wantsWindow("-window"));
  EXPECT_TRUE(wantsWindow("/win"));
  EXPECT_TRUE(wantsWindow("x twin"));
  EXPECT_FALSE(wantsWindow("WIN"));
  EXPECT_FALSE(wantsWindow(""));
  EXPECT_FALSE(wantsWindow("-w"));
}

TEST(StartupWindow, WindowedKeepsTheCursorAndFullScreenHidesItForTheShow) {
  AppHarness windowed;
  EXPECT_EQ(windowed.run("end\n", "-window"), 0);
  EXPECT_TRUE(windowed.host.windowed);
  EXPECT_EQ(windowed.host.windowTitle, "Demo");
  EXPECT_EQ(windowed.host.windowWidth, 640);
  EXPECT_EQ(windowed.host.windowHeight, 480);
  EXPECT_TRUE(windowed.host.cursorChanges.empty());
  ASSERT_FALSE(windowed.d3d->attempts.empty());
  EXPECT_EQ(windowed.d3d->attempts[0].parameters.Windowed, 1);

  AppHarness fullScreen;
  EXPECT_EQ(fullScreen.run("end\n", "WIN"), 0);
  EXPECT_FALSE(fullScreen.host.windowed);
  EXPECT_EQ(fullScreen.host.cursorChanges, (std::vector<bool>{false, true}));
  EXPECT_EQ(fullScreen.d3d->attempts[0].parameters.Windowed, 0);
  EXPECT_EQ(fullScreen.d3d->attempts[0].parameters.BackBufferFormat, D3DFMT_R5G6B5) << "16 bits per pixel";
}

TEST(CommandLine, OptionsOfOursAreTakenOutTheRestIsTheShowsText) {
  const char* show[] = {"demo", "--no-dialogs", "-window", "x"};
  const CommandLine line = parseCommandLine(4, show);
  EXPECT_EQ(line.mode, CommandLine::Mode::Show);
  EXPECT_TRUE(line.noDialogs);
  EXPECT_EQ(line.showText, "-window x");
  const char* check[] = {"demo", "--check"};
  EXPECT_EQ(parseCommandLine(2, check).mode, CommandLine::Mode::Check);
  EXPECT_EQ(parseCommandLine(2, check).script, "demo.run");
  const char* named[] = {"demo", "--check", "other.run"};
  EXPECT_EQ(parseCommandLine(3, named).script, "other.run");
  const char* version[] = {"demo", "--version"};
  EXPECT_EQ(parseCommandLine(2, version).mode, CommandLine::Mode::Version);
}

}  // namespace
}  // namespace demo::test
