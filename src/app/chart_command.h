#pragma once
// `demo --chart OUT.svg [SCRIPT]`: the script's timeline as an SVG picture (chart/timeline_chart.h),
// with the song positions and loudness of the tune its first loadmusic names.

#include <cstdio>
#include <string>

namespace demo {

// Compiles the script as the show would (archive first, then disk), plays its tune without output
// to the script's end, and writes the chart to `output` (complete or not at all). Returns 0 and
// names what was written on `out`; a script that does not compile is reported as --check reports
// it, with its status (-6); a chart that cannot be written says why on `err` and returns 1. A
// tune that cannot be loaded is left out, with a warning.
int writeChart(const char* scriptName, const std::string& output, std::FILE* out, std::FILE* err);

}  // namespace demo
