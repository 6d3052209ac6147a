#pragma once
// A Reader or archive status in words a user can act on. The number follows the words where it
// helps someone who reads the README's table; a status is never shown as a bare number.

namespace demo {

// "not found (neither in the archive nor on disk)", "damaged archive member (262)", ...
const char* readStatusText(int status);

}  // namespace demo
