// The capture as the Windows build runs it, on the headless device: a desktop of another size than
// the capture's, a real host's window for the device, and a read-back of the backend's own.
#include <cstdio>

#include "app/capture.h"
#include "capture/capture_desktop.h"
#include "capture/capture_graphics.h"
#include "capture_fixture.h"
#include "gfx/png_file.h"
#include "platform/gl/gl_device.h"
#include "platform/headless/headless_graphics.h"
#include "platform/headless/headless_host.h"

namespace demo::test {
namespace {

constexpr const char* PictureShow =
    "loadtexture <t> PICTURE 64 64 1\n"
    "makeimage <i> <t> 0 0 1 1\n"
    "start\n"
    "showimage <i> mixalpha +2:000\n"
    "at 2:000\n"
    "end\n";

class CaptureGraphicsTest : public CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    screen.width = 200;  // a desktop unlike the capture's 64 x 48
    screen.height = 100;
    desktop.direct3d = headlessDirect3DCreate;
    desktop.direct3dContext = &screen;
    graphics.direct3d = captureDesktopDirect3DCreate;
    graphics.direct3dContext = &desktop;
    graphics.window = &window;
    graphics.readBack = [this](RenderDevice& device, std::vector<uint8_t>& rgba) {
      ++readBacks;
      return static_cast<GlDevice&>(device).readPixels(rgba);
    };
    window.printMessageBoxes = false;
  }

  int captureWith(const CaptureOptions& o) {
    desktop.width = o.width;  // as the Windows build's runCapture sets it
    desktop.height = o.height;
    std::FILE* file = std::tmpfile();
    const int status = runCaptureWith(graphics, o, "", (dir / "demo.run").c_str(), file);
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) log += static_cast<char>(c);
    std::fclose(file);
    return status;
  }

  HeadlessGraphicsConfig screen;
  CaptureDesktop desktop;
  HeadlessHost window;  // stands in for the Win32 host
  CaptureGraphics graphics;
  int readBacks = 0;
};

TEST_F(CaptureGraphicsTest, FramesTakeTheCaptureSizeWhateverTheDesktopAndTheDeviceGetsTheRealWindow) {
  writeShow(PictureShow);
  CaptureOptions o = options("out", 10);
  o.seconds = 3.0;  // start holds the first picture for two seconds
  ASSERT_EQ(captureWith(o), 0) << log;
  const auto frames = frameFiles(dir / "out");
  ASSERT_EQ(frames.size(), 30u);
  std::vector<uint8_t> rgba;
  uint32_t width = 0, height = 0;
  ASSERT_TRUE(readPng(frames.back().c_str(), rgba, width, height));
  EXPECT_EQ(width, 64u);
  EXPECT_EQ(height, 48u);
  EXPECT_EQ(window.windowsCreated, 1);
  EXPECT_EQ(window.windowsDestroyed, 1);
  EXPECT_TRUE(window.windowed);
  EXPECT_GE(readBacks, 1);
}

TEST_F(CaptureGraphicsTest, EscapeOrClosingTheRealWindowStopsTheCaptureEarly) {
  for (const HostEvent::Type type : {HostEvent::Type::KeyDown, HostEvent::Type::CloseRequest}) {
    writeShow(PictureShow);
    HeadlessHost closing;
    closing.printMessageBoxes = false;
    graphics.window = &closing;
    bool sent = false;
    closing.onIdle = [this, type, &sent](HeadlessHost& host) {
      if (readBacks < 5 || sent) return;
      sent = true;
      host.queueEvent({type, KeyEscape});
    };
    readBacks = 0;
    CaptureOptions o = options(type == HostEvent::Type::KeyDown ? "escape" : "close", 10);
    EXPECT_EQ(captureWith(o), 0) << log;
    const auto frames = frameFiles(dir / o.output);
    EXPECT_GE(frames.size(), 5u);
    EXPECT_LT(frames.size(), 30u) << "the show ran to its end";
  }
}

TEST_F(CaptureGraphicsTest, AFrameThatCannotBeReadBackFailsTheCaptureWithAReason) {
  writeShow(PictureShow);
  graphics.readBack = [](RenderDevice&, std::vector<uint8_t>&) { return false; };
  EXPECT_EQ(captureWith(options("lost", 10)), ExitCaptureFailed);
  EXPECT_NE(log.find("cannot read the frame back"), std::string::npos) << log;
}

TEST_F(CaptureGraphicsTest, AReadBackOfAnotherSizeIsAFailureNotAGarbledFrame) {
  writeShow(PictureShow);
  graphics.readBack = [](RenderDevice&, std::vector<uint8_t>& rgba) {
    rgba.assign(size_t{200} * 100 * 4, 0);  // the desktop's size, not the capture's
    return true;
  };
  EXPECT_EQ(captureWith(options("wrong", 10)), ExitCaptureFailed);
}

}  // namespace
}  // namespace demo::test
