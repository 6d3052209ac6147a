// The SDL2 Host without a display (SDL's invisible drivers) and, under Xvfb, with one.

#include "platform/sdl/sdl_host.h"

#include <cstdlib>
#include <string>

#include <SDL.h>
#include <epoxy/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gfx/device_layer.h"
#include "platform/sdl/sdl_graphics.h"

namespace demo {
namespace {

using ::testing::HasSubstr;

// SDL picks its video driver when video starts; each test starts it afresh.
class VideoDriver {
 public:
  explicit VideoDriver(const char* name) {
    if (const char* old = std::getenv("SDL_VIDEODRIVER")) old_ = old;
    if (name) setenv("SDL_VIDEODRIVER", name, 1);
    else unsetenv("SDL_VIDEODRIVER");
  }
  ~VideoDriver() {
    if (old_.empty()) unsetenv("SDL_VIDEODRIVER");
    else setenv("SDL_VIDEODRIVER", old_.c_str(), 1);
  }

 private:
  std::string old_;
};

TEST(SdlHostWithoutDisplay, InvisibleDriversGiveNoWindow) {
  for (const char* driver : {"offscreen", "dummy"}) {
    VideoDriver use(driver);
    SdlHost host;
    EXPECT_FALSE(host.createWindow("Demo", 640, 480, true)) << driver;
    EXPECT_EQ(host.windowHandle(), nullptr) << driver;
  }
}

TEST(SdlHostWithoutDisplay, MessageBoxesGoToStderr) {
  VideoDriver use("offscreen");
  SdlHost host;
  ::testing::internal::CaptureStderr();
  host.messageBox("Isch krisch kein Fenster!", "Kapuuuuuuut!", MessageIcon::Error);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Kapuuuuuuut!: Isch krisch kein Fenster!\n");
}

TEST(SdlHostEvents, CloseKeysAndTheQuitThatComesLast) {
  VideoDriver use("offscreen");
  SdlHost host;
  ASSERT_FALSE(host.hasDisplay());  // starts SDL's events all the same
  host.postQuit();
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_ESCAPE;
  SDL_PushEvent(&e);
  e.key.keysym.sym = SDLK_q;
  SDL_PushEvent(&e);
  e = SDL_Event{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&e);
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);

  using Type = HostEvent::Type;
  std::vector<std::pair<Type, int>> seen;
  HostEvent event;
  while (host.pollEvent(event) && seen.size() < 10)
    if (event.type != Type::Other) seen.emplace_back(event.type, event.key);
  EXPECT_THAT(seen, ::testing::ElementsAre(std::pair(Type::KeyDown, KeyEscape), std::pair(Type::KeyDown, int{'Q'}),
                                           std::pair(Type::CloseRequest, 0), std::pair(Type::CloseRequest, 0),
                                           std::pair(Type::Quit, 0)));
  EXPECT_FALSE(host.pollEvent(event)) << "the quit is taken once";
}

TEST(SdlHostDisplay, ARealWindowAndBoxesThatDoNotWait) {
  if (!std::getenv("DEMO_EXPECT_DISPLAY") && !std::getenv("DISPLAY"))
    GTEST_SKIP() << "no display: this runs as SdlHostDisplay.UnderXvfb.*";
  VideoDriver use(nullptr);
  SdlHost host({.noDialogs = true});
  ASSERT_TRUE(host.createWindow("Demo", 640, 480, true)) << SDL_GetError();
  auto* window = static_cast<SDL_Window*>(host.windowHandle());
  EXPECT_STREQ(SDL_GetWindowTitle(window), "Demo");
  int width = 0, height = 0;
  SDL_GetWindowSize(window, &width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL);
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);

  ASSERT_TRUE(host.createWindow("Demo", 640, 480, false));
  EXPECT_TRUE(SDL_GetWindowFlags(static_cast<SDL_Window*>(host.windowHandle())) & SDL_WINDOW_FULLSCREEN_DESKTOP);
  host.destroyWindow();
  EXPECT_EQ(host.windowHandle(), nullptr);

  ::testing::internal::CaptureStderr();
  host.messageBox("1.00000 FPS", "Feierabend", MessageIcon::Information);
  EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("Feierabend: 1.00000 FPS"));
}

// The OpenGL device keeps its back buffer top row first; presenting must still show the top row at the
// top of the window (and stretch the desktop-sized back buffer of a windowed device into it).
TEST(SdlHostDisplay, PresentShowsTheBackBufferTheRightWayUp) {
  if (!std::getenv("DEMO_EXPECT_DISPLAY") && !std::getenv("DISPLAY"))
    GTEST_SKIP() << "no display: this runs as SdlHostDisplay.UnderXvfb.*";
  VideoDriver use(nullptr);
  SdlHost host({.noDialogs = true});
  ASSERT_TRUE(host.createWindow("Demo", 640, 480, true)) << SDL_GetError();
  DeviceLayer layer(sdlDirect3DCreate, nullptr);
  ASSERT_EQ(layer.createDevice(host.windowHandle(), 640, 480, 16, 1), 0);
  RenderDevice& device = *layer.device();
  device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0);
  const D3DRECT top{0, 0, layer.screenWidth(), layer.screenHeight() / 4};
  device.Clear(1, &top, D3DCLEAR_TARGET, 0xFFFF0000u, 1.0f, 0);
  ASSERT_EQ(device.Present(), D3D_OK);
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(host.windowHandle()), &width, &height);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  // What was swapped out, read from the back buffer: Mesa's software rasteriser under Xvfb keeps it
  // (the front buffer reads black there).
  glReadBuffer(GL_BACK);
  uint8_t topRow[4] = {}, bottomRow[4] = {};
  glReadPixels(width / 2, height - 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, topRow);  // OpenGL counts rows from the bottom
  glReadPixels(width / 2, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, bottomRow);
  EXPECT_EQ(topRow[0], 255);
  EXPECT_EQ(topRow[2], 0);
  EXPECT_EQ(bottomRow[0], 0);
  EXPECT_EQ(bottomRow[2], 255);
  layer.destroyDevice();
}

}  // namespace
}  // namespace demo
