// Keys on the page: Escape reaches the show as Escape whatever code the browser gives it, F toggles
// full screen only without a modifier, and everything else passes through as its key code.

#include <gtest/gtest.h>

#include "platform/host.h"
#include "platform/web/web_keys.h"

namespace demo::test {
namespace {

TEST(WebKeys, EscapeAndFAreThePagesOwnAndTheRestPassesThrough) {
  const WebKey escape = webKey("Escape", 0, false);
  EXPECT_EQ(escape.virtualKey, KeyEscape) << "old browsers report 0 for it";
  EXPECT_TRUE(escape.consumed);
  EXPECT_FALSE(escape.toggleFullscreen);
  EXPECT_EQ(webKey("Escape", 27, true).virtualKey, KeyEscape) << "with a modifier as well";

  for (const char* f : {"f", "F"}) {
    const WebKey key = webKey(f, 70, false);
    EXPECT_TRUE(key.toggleFullscreen) << f;
    EXPECT_TRUE(key.consumed);
    EXPECT_EQ(key.virtualKey, 'F');
  }
  const WebKey find = webKey("f", 70, true);
  EXPECT_FALSE(find.toggleFullscreen) << "Ctrl+F finds text in the page";
  EXPECT_FALSE(find.consumed);

  const WebKey a = webKey("a", 65, false);
  EXPECT_EQ(a.virtualKey, 'A');
  EXPECT_FALSE(a.consumed) << "the browser keeps its shortcuts";
  EXPECT_EQ(webKey("Enter", 13, false).virtualKey, 13);
}

}  // namespace
}  // namespace demo::test
