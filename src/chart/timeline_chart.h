#pragma once
// The show's timeline as one SVG picture: the music-clock axis with the tune's song positions and
// loudness along it, the labels as markers, the `at` blocks as ticks, and one lane per image, scene
// and effect (and the background) with a bar for each instruction's active span, named on hover.
// Everything comes from the compiled script and the real tune, so the chart is what the show does.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chart/tune_summary.h"
#include "script/compile_state.h"
#include "script/registries.h"

namespace demo {

struct ChartInput {
  std::string scriptName;
  const std::vector<StatementRecord>* statements = nullptr;
  const NameList<int32_t>* labels = nullptr;
  const TuneSummary* tune = nullptr;  // null: no tune (none loaded, or it cannot be)
  std::string tuneName;               // its file name, for the heading
  std::optional<uint32_t> endTime;    // the script's end, where the chart stops
};

// The length of the chart's axis: the script's end, else the last time anything happens.
uint32_t chartLength(const ChartInput& input);

// The SVG document.
std::string timelineChart(const ChartInput& input);

}  // namespace demo
