#pragma once
// Times as an author writes them on the command line (--from, --to): "42:000", "1:02:500",
// "[climax]", "[climax]+2:000"; the same notation as the script's, with a label also allowed alone.
// And times written back the same way, for titles and messages.

#include <cstdint>
#include <string>

#include "script/registries.h"

namespace demo {

// The time `text` means with the script's labels, in ms of music; false with the reason in `error`
// (an unknown label's reason lists the labels the script has).
bool parseShowTime(const std::string& text, const NameList<int32_t>& labels, uint32_t& ms, std::string& error);

// "1:02:500" from a minute on, "42:000" below: a time the script and --from read back as written.
std::string formatShowTime(uint32_t ms);

// The script's labels in the order of their times, each with its time: "[intro] 0:000, [modes]
// 7:313"; "none" without labels. A label standing before any start or at has no time.
std::string labelLine(const NameList<int32_t>& labels);

// The label in force at `ms`: the latest label whose time is not after it; null before the first.
const NameEntry<int32_t>* labelAt(const NameList<int32_t>& labels, uint32_t ms);
// The first label after `ms`, and the last before it (Page Down, Page Up); null when there is none.
const NameEntry<int32_t>* labelAfter(const NameList<int32_t>& labels, uint32_t ms);
const NameEntry<int32_t>* labelBefore(const NameList<int32_t>& labels, uint32_t ms);

}  // namespace demo
