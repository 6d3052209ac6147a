#include "app/section.h"

#include "script/flow_commands.h"
#include "script/show_time.h"

namespace demo {

bool resolveSection(const SectionRequest& request, const Show& show, SectionTimes& times, std::string& error) {
  times = {};
  const auto resolve = [&](const std::string& text, const char* option, std::optional<uint32_t>& time) {
    if (text.empty()) return true;
    uint32_t ms = 0;
    std::string why;
    if (!parseShowTime(text, show.names.labels, ms, why)) {
      error = std::string(option) + " " + text + ": " + why;
      return false;
    }
    time = ms;
    return true;
  };
  if (!resolve(request.from, "--from", times.from) || !resolve(request.to, "--to", times.to)) return false;
  if (times.from && times.to && *times.from >= *times.to) {
    error = "--from " + request.from + " (" + formatShowTime(*times.from) + ") does not come before --to " +
            request.to + " (" + formatShowTime(*times.to) + ")";
    return false;
  }
  return true;
}

std::optional<uint32_t> scriptEndTime(const Show& show) {
  std::optional<uint32_t> time;
  for (const auto& instruction : show.timeline.program()) {
    if (dynamic_cast<const StartInstruction*>(instruction.get())) time = 0;
    if (const auto* at = dynamic_cast<const AtInstruction*>(instruction.get())) time = static_cast<uint32_t>(at->time);
    if (dynamic_cast<const EndInstruction*>(instruction.get())) return time;
  }
  return std::nullopt;
}

}  // namespace demo
