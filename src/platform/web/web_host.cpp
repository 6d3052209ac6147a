#include "platform/web/web_host.h"

#include <cstdio>

#include <emscripten/html5.h>

#include "archive/executable_path.h"
#include "platform/web/web_keys.h"
#include "platform/web/web_page.h"

namespace demo {

namespace {

EM_BOOL onKeyDown(int /*eventType*/, const EmscriptenKeyboardEvent* event, void* host) {
  const bool modified = event->ctrlKey || event->altKey || event->metaKey;
  return static_cast<WebHost*>(host)->keyDown(event->key, event->keyCode, modified) ? EM_TRUE : EM_FALSE;
}

}  // namespace

WebHost::~WebHost() { destroyWindow(); }

bool WebHost::createWindow(const char* /*title*/, int width, int height, bool /*windowed*/) {
  // The page is the window, whatever the command line says; F makes it full screen.
  if (emscripten_set_canvas_element_size(canvas_.c_str(), width, height) != EMSCRIPTEN_RESULT_SUCCESS) return false;
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_TRUE, onKeyDown);
  demo_page_show_canvas(1);
  windowOpen_ = true;
  return true;
}

void WebHost::destroyWindow() {
  if (!windowOpen_) return;
  windowOpen_ = false;
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, nullptr);
  EmscriptenFullscreenChangeEvent status;
  if (emscripten_get_fullscreen_status(&status) == EMSCRIPTEN_RESULT_SUCCESS && status.isFullscreen)
    emscripten_exit_fullscreen();
  demo_page_show_canvas(0);
}

WindowHandle WebHost::windowHandle() {
  return windowOpen_ ? static_cast<WindowHandle>(const_cast<char*>(canvas_.c_str())) : nullptr;
}

bool WebHost::pollEvent(HostEvent& event) {
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  return true;
}

void WebHost::showCursor(bool show) { demo_page_show_cursor(show ? 1 : 0); }

void WebHost::messageBox(const char* text, const char* caption, MessageIcon icon) {
  std::fprintf(icon == MessageIcon::Error ? stderr : stdout, "%s: %s\n", caption, text);
  demo_page_message(text, caption, icon == MessageIcon::Error ? 1 : 0);
}

void WebHost::sleep(uint32_t milliseconds) {
  if (milliseconds <= LongestYieldingSleep) return;
  const double until = emscripten_get_now() + milliseconds;
  double next = 0;
  for (double now; (now = emscripten_get_now()) < until;) {
    if (whileSleeping_ && now >= next) {
      whileSleeping_();
      next = now + WhileSleepingPeriod;
    }
  }
}

std::string WebHost::executablePath() { return demo::executablePath(); }

bool WebHost::keyDown(const char* key, uint32_t keyCode, bool modified) {
  const WebKey meaning = webKey(key, keyCode, modified);
  if (meaning.toggleFullscreen) toggleFullscreen();
  events_.push_back({HostEvent::Type::KeyDown, meaning.virtualKey});
  return meaning.consumed;
}

void WebHost::toggleFullscreen() {
  EmscriptenFullscreenChangeEvent status;
  if (emscripten_get_fullscreen_status(&status) == EMSCRIPTEN_RESULT_SUCCESS && status.isFullscreen) {
    emscripten_exit_fullscreen();
    return;
  }
  // The canvas keeps its 640 x 480 pixels and is scaled up, keeping its aspect; the request is made
  // inside the key's own handler, which is what browsers demand of it.
  EmscriptenFullscreenStrategy strategy{};
  strategy.scaleMode = EMSCRIPTEN_FULLSCREEN_SCALE_ASPECT;
  strategy.canvasResolutionScaleMode = EMSCRIPTEN_FULLSCREEN_CANVAS_SCALE_NONE;
  strategy.filteringMode = EMSCRIPTEN_FULLSCREEN_FILTERING_DEFAULT;
  emscripten_request_fullscreen_strategy(canvas_.c_str(), EM_FALSE, &strategy);
}

}  // namespace demo
