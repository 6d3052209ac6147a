// The Win32 host under Wine: the window class and window the show asks for, and how the queue's
// messages reach the application as events.

#include <gtest/gtest.h>

#include "platform/win32/win32_host.h"

#include <windows.h>

namespace demo {
namespace {

TEST(Win32Host, MakesTheShowsWindowOfClassPlix) {
  Win32Host host({true});
  ASSERT_TRUE(host.createWindow("Demo", 640, 480, true));
  HWND window = static_cast<HWND>(host.windowHandle());
  ASSERT_NE(window, nullptr);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  EXPECT_STREQ(name, "PLIX");
  char title[16] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "Demo");
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_OVERLAPPEDWINDOW | WS_VISIBLE), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ::RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 640);
  EXPECT_EQ(r.bottom - r.top, 480);
  EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
  host.destroyWindow();
  EXPECT_FALSE(IsWindow(window));
  host.destroyWindow();  // nothing left to destroy
  // A second window of the same (already registered) class.
  ASSERT_TRUE(host.createWindow("Demo", 320, 200, true));
}

// Takes events until one that is not Other, or none is left.
bool nextEvent(Win32Host& host, HostEvent& event) {
  while (host.pollEvent(event))
    if (event.type != HostEvent::Type::Other) return true;
  return false;
}

TEST(Win32Host, KeysCloseRequestsAndTheQuitMessageBecomeEvents) {
  Win32Host host({true});
  ASSERT_TRUE(host.createWindow("Demo", 640, 480, true));
  HWND window = static_cast<HWND>(host.windowHandle());
  HostEvent event;
  while (host.pollEvent(event)) {
  }  // what creating the window queued

  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(nextEvent(host, event));
  EXPECT_EQ(event.type, HostEvent::Type::KeyDown);
  EXPECT_EQ(event.key, KeyEscape);
  PostMessageA(window, WM_KEYDOWN, 'A', 0);
  ASSERT_TRUE(nextEvent(host, event));
  EXPECT_EQ(event.key, 'A');

  // The close box: the window stays until the application destroys it.
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(nextEvent(host, event));
  EXPECT_EQ(event.type, HostEvent::Type::CloseRequest);
  EXPECT_TRUE(IsWindow(window));
  // Sent rather than posted, it is reported on the next poll.
  SendMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(host.pollEvent(event));
  EXPECT_EQ(event.type, HostEvent::Type::CloseRequest);

  host.destroyWindow();
  host.postQuit();
  ASSERT_TRUE(nextEvent(host, event));
  EXPECT_EQ(event.type, HostEvent::Type::Quit);
}

TEST(Win32Host, KnowsItsOwnExecutableAndSleeps) {
  Win32Host host({true});
  const std::string path = host.executablePath();
  ASSERT_GT(path.size(), 4u);
  EXPECT_EQ(path.substr(path.size() - 4), ".exe");
  LARGE_INTEGER frequency, before, after;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&before);
  host.sleep(30);
  QueryPerformanceCounter(&after);
  EXPECT_GE((after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart, 29);
}

}  // namespace
}  // namespace demo
