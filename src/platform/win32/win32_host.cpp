#include "platform/win32/win32_host.h"

#include <cstdio>

#include "archive/executable_path.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace demo {

namespace {

constexpr char ClassName[] = "PLIX";
static_assert(VK_ESCAPE == KeyEscape && VK_SPACE == KeySpace && VK_PRIOR == KeyPageUp && VK_NEXT == KeyPageDown &&
              VK_HOME == KeyHome && VK_LEFT == KeyLeft && VK_RIGHT == KeyRight);

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_CREATE:
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
      return 0;
    case WM_CLOSE:
      if (host) host->noteCloseRequest();
      return 0;
    case WM_KEYDOWN:  // keys sent rather than posted arrive here; the show ignores them
    case WM_DESTROY:  // the application has already done what destruction means to the show
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// Registered once per process; a second registration of the same class would fail.
ATOM windowClass() {
  static const ATOM atom = [] {
    WNDCLASSA c{};
    c.style = CS_HREDRAW | CS_VREDRAW;
    c.lpfnWndProc = windowProcedure;
    c.hInstance = GetModuleHandleA(nullptr);
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    c.lpszClassName = ClassName;
    return RegisterClassA(&c);
  }();
  return atom;
}

}  // namespace

Win32Host::~Win32Host() { destroyWindow(); }

bool Win32Host::createWindow(const char* title, int width, int height, bool /*windowed*/) {
  destroyWindow();
  const ATOM atom = windowClass();
  if (!atom) return false;
  HWND window = CreateWindowExA(0, MAKEINTATOM(atom), title, WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, width, height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), this);
  if (!window) return false;
  window_ = window;
  // Nothing is painted but by the device: the first WM_PAINT has nothing to do.
  ValidateRect(window, nullptr);
  return true;
}

void Win32Host::destroyWindow() {
  if (!window_) return;
  HWND window = static_cast<HWND>(window_);
  window_ = nullptr;
  closeRequested_ = false;
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

bool Win32Host::pollEvent(HostEvent& event) {
  if (closeRequested_) {
    closeRequested_ = false;
    event = {HostEvent::Type::CloseRequest, 0};
    return true;
  }
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message.message == WM_QUIT) {
    event = {HostEvent::Type::Quit, 0};
  } else if (message.message == WM_KEYDOWN) {
    event = {HostEvent::Type::KeyDown, static_cast<int>(message.wParam)};
  } else {
    DispatchMessageA(&message);
    event = {closeRequested_ ? HostEvent::Type::CloseRequest : HostEvent::Type::Other, 0};
    closeRequested_ = false;
  }
  return true;
}

void Win32Host::postQuit() { PostQuitMessage(0); }

void Win32Host::showCursor(bool show) { ShowCursor(show ? TRUE : FALSE); }

void Win32Host::messageBox(const char* text, const char* caption, MessageIcon icon) {
  if (options_.noDialogs) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    return;
  }
  MessageBoxA(nullptr, text, caption, icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION);
}

void Win32Host::sleep(uint32_t milliseconds) { Sleep(milliseconds); }

std::string Win32Host::executablePath() { return demo::executablePath(); }

void Win32Host::setTitle(const char* title) {
  if (window_) SetWindowTextA(static_cast<HWND>(window_), title);
}

}  // namespace demo
