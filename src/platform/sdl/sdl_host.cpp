#include "platform/sdl/sdl_host.h"

#include <cstdio>
#include <cstring>

#include <SDL.h>

#include "archive/executable_path.h"

namespace demo {

namespace {

void printMessageBox(const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
}

// Context and framebuffer wishes must be known before the window exists: on X11 the window's
// visual is chosen when it is created.
void requestOpenGlSurface() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
}

HostEvent translate(const SDL_Event& e) {
  HostEvent event;
  if (e.type == SDL_QUIT || (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE)) {
    event.type = HostEvent::Type::CloseRequest;
  } else if (e.type == SDL_KEYDOWN) {
    event.type = HostEvent::Type::KeyDown;
    event.key = virtualKey(e.key.keysym.sym);
  }
  return event;
}

}  // namespace

int virtualKey(int sdlKeycode) {
  if (sdlKeycode >= 'a' && sdlKeycode <= 'z') return sdlKeycode - 'a' + 'A';
  static_assert(SDLK_ESCAPE == KeyEscape && SDLK_SPACE == KeySpace);
  switch (sdlKeycode) {
    case SDLK_LEFT: return KeyLeft;
    case SDLK_RIGHT: return KeyRight;
    case SDLK_PAGEUP: return KeyPageUp;
    case SDLK_PAGEDOWN: return KeyPageDown;
    case SDLK_HOME: return KeyHome;
    default: return sdlKeycode;
  }
}

void SdlHost::setTitle(const char* title) {
  if (window_) SDL_SetWindowTitle(window_, title);
}

SdlHost::SdlHost(SdlHostOptions options) : options_(options) {}

SdlHost::~SdlHost() {
  destroyWindow();
  if (videoReady_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlHost::initVideo() {
  if (!videoTried_) {
    videoTried_ = true;
    // The window's close box is a close request for the pump to handle, not an SDL_QUIT as well.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    videoReady_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  }
  return videoReady_;
}

bool SdlHost::hasDisplay() {
  if (!initVideo()) return false;
  // Without a display SDL falls back to these silently; a window there is never seen.
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

bool SdlHost::createWindow(const char* title, int width, int height, bool windowed) {
  destroyWindow();
  if (!hasDisplay()) return false;
  requestOpenGlSurface();
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
  if (!windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  window_ = SDL_CreateWindow(title, 0, 0, width, height, flags);
  return window_ != nullptr;
}

void SdlHost::destroyWindow() {
  if (window_) SDL_DestroyWindow(window_);
  window_ = nullptr;
}

WindowHandle SdlHost::windowHandle() { return window_; }

bool SdlHost::pollEvent(HostEvent& event) {
  SDL_Event e;
  if (videoReady_ && SDL_PollEvent(&e)) {
    event = translate(e);
    return true;
  }
  if (!quitPosted_) return false;
  quitPosted_ = false;
  event = HostEvent{HostEvent::Type::Quit, 0};
  return true;
}

void SdlHost::postQuit() { quitPosted_ = true; }

void SdlHost::showCursor(bool show) {
  if (initVideo()) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void SdlHost::messageBox(const char* text, const char* caption, MessageIcon icon) {
  const Uint32 flags = icon == MessageIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  // A run without a window (offscreen driver) shows nothing, so its boxes must not either: SDL
  // would still try an X11 box when DISPLAY is set.
  if (options_.noDialogs || !hasDisplay() || SDL_ShowSimpleMessageBox(flags, caption, text, nullptr) != 0)
    printMessageBox(text, caption);
}

void SdlHost::sleep(uint32_t milliseconds) { SDL_Delay(milliseconds); }

std::string SdlHost::executablePath() { return demo::executablePath(); }

}  // namespace demo
