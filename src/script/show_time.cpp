#include "script/show_time.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "script/argument_parser.h"

namespace demo {
namespace {

using LabelEntry = NameEntry<int32_t>;

// Labels with a time, earliest first; of two at the same time, the one defined first.
std::vector<const LabelEntry*> timedLabels(const NameList<int32_t>& labels) {
  std::vector<const LabelEntry*> timed;
  for (const LabelEntry* entry = labels.head(); entry; entry = entry->next)
    if (entry->object >= 0) timed.push_back(entry);
  std::reverse(timed.begin(), timed.end());  // the list holds the newest first
  std::stable_sort(timed.begin(), timed.end(), [](const LabelEntry* a, const LabelEntry* b) {
    return a->object < b->object;
  });
  return timed;
}

}  // namespace

bool parseShowTime(const std::string& text, const NameList<int32_t>& labels, uint32_t& ms, std::string& error) {
  const char* p = text.c_str();
  uint32_t base = 0;
  bool labelled = false;
  if (*p == '[') {
    const size_t close = text.find(']');
    if (close == std::string::npos) {
      error = "\"" + text + "\": missing ']' after the label";
      return false;
    }
    const std::string name = text.substr(1, close - 1);
    const LabelEntry* label = labels.findName(name.c_str());
    if (!label) {
      error = "no label [" + name + "] in the script; its labels: " + labelLine(labels);
      return false;
    }
    if (label->object < 0) {
      error = "[" + name + "] has no time: it stands before any start or at in the script";
      return false;
    }
    base = static_cast<uint32_t>(label->object);
    labelled = true;
    p = text.c_str() + close + 1;
    if (*p == '\0') {
      ms = base;
      return true;
    }
    if (*p != '+') {
      error = "\"" + text + "\": a label is followed by nothing or by '+' and a time ([climax]+2:000)";
      return false;
    }
    ++p;
  }
  const char* why = nullptr;
  uint32_t fields = 0;
  if (!readTimeFields(p, fields, why) || *p != '\0') {
    error = "\"" + text + "\" is not a time: write 42:000, 1:02:500, [label] or [label]+2:000";
    return false;
  }
  ms = base + fields;
  if (labelled && ms < base) {
    error = "\"" + text + "\" lies beyond the music clock's range";
    return false;
  }
  return true;
}

std::string formatShowTime(uint32_t ms) {
  char text[32];
  if (ms >= 60000)
    std::snprintf(text, sizeof text, "%u:%02u:%03u", ms / 60000, ms / 1000 % 60, ms % 1000);
  else
    std::snprintf(text, sizeof text, "%u:%03u", ms / 1000, ms % 1000);
  return text;
}

std::string labelLine(const NameList<int32_t>& labels) {
  std::string line;
  for (const LabelEntry* entry : timedLabels(labels))
    line += (line.empty() ? "[" : ", [") + std::string(entry->name) + "] " +
            formatShowTime(static_cast<uint32_t>(entry->object));
  return line.empty() ? "none" : line;
}

const LabelEntry* labelAt(const NameList<int32_t>& labels, uint32_t ms) {
  const LabelEntry* found = nullptr;
  for (const LabelEntry* entry : timedLabels(labels))
    if (static_cast<uint32_t>(entry->object) <= ms) found = entry;
  return found;
}

const LabelEntry* labelAfter(const NameList<int32_t>& labels, uint32_t ms) {
  for (const LabelEntry* entry : timedLabels(labels))
    if (static_cast<uint32_t>(entry->object) > ms) return entry;
  return nullptr;
}

const LabelEntry* labelBefore(const NameList<int32_t>& labels, uint32_t ms) {
  const LabelEntry* found = nullptr;
  for (const LabelEntry* entry : timedLabels(labels))
    if (static_cast<uint32_t>(entry->object) < ms) found = entry;
  return found;
}

}  // namespace demo
