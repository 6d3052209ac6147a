#pragma once
// What the page says about the archive it fetched before it offers to play it, since a browser shows
// no message box for a show that cannot start: whether the archive is one at all, whether its
// directory and every member read back intact (as `demo-pack --verify` checks), and whether it holds
// a script. The native engine finds the same faults member by member as the show opens them.

#include <string>

#include "archive/archive.h"

namespace demo {

// Empty when the show can be played; otherwise one sentence for the page, naming the archive
// (`name`) and what is wrong with it. archive: the probed archive, null when the probe found none.
std::string archiveProblem(const Archive* archive, const std::string& name);

}  // namespace demo
