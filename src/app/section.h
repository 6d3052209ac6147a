#pragma once
// --from, --to and --loop as written on the command line, and how they become the show's play range
// once the script (and with it its labels) is compiled.

#include <cstdint>
#include <optional>
#include <string>

#include "script/show.h"

namespace demo {

struct SectionRequest {
  std::string from;  // empty: from the start
  std::string to;    // empty: to the show's end
  bool loop = false;

  bool any() const { return !from.empty() || !to.empty() || loop; }
};

// The times the request names with this show's labels; false with the reason in `error`, which
// names the option: "--from [climx]: no label [climx] in the script; its labels: ...".
struct SectionTimes {
  std::optional<uint32_t> from;
  std::optional<uint32_t> to;
};
bool resolveSection(const SectionRequest& request, const Show& show, SectionTimes& times, std::string& error);

// The music time of the script's `end`: the time of the `at` (or `start`) in force where the first
// `end` of the program stands; none for a script without one.
std::optional<uint32_t> scriptEndTime(const Show& show);

}  // namespace demo
