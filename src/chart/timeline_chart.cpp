#include "chart/timeline_chart.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "chart/svg_writer.h"
#include "script/show_time.h"

namespace demo {
namespace {

constexpr double PixelsPerSecond = 14;
constexpr double LaneNames = 170;  // the left column with the lanes' names
constexpr double Right = 30;
constexpr double AxisY = 66;
constexpr double PatternsY = 86, PatternsHeight = 22;
constexpr double LoudnessY = 114, LoudnessHeight = 44;
constexpr double LanesY = 182;
constexpr double RowHeight = 13, LaneGap = 7;

// Bars by command: one colour each, similar commands in similar hues.
struct CommandStyle {
  const char* keyword;
  const char* colour;
};
constexpr CommandStyle Styles[] = {
    {"showimage", "#3d7fd1"},  {"fadeimage", "#e39b2d"}, {"moveimage", "#4fae5b"},     {"sizeimage", "#8a5cc7"},
    {"blurimage", "#d35454"},  {"spackblurimage", "#a12d55"}, {"verteximage", "#9a9a9a"}, {"playscene", "#1f9e9e"},
    {"fadesalpha", "#63b7b7"}, {"fadewalpha", "#9fd3d3"}, {"showparticles", "#e0703a"}, {"playblobs", "#b8569f"},
    {"show2dblobs", "#d17fc0"}, {"showtunnel", "#6b6b6b"}, {"fadebg", "#505a6e"},
};
const char* colourOf(const char* keyword) {
  for (const CommandStyle& style : Styles)
    if (std::strcmp(style.keyword, keyword) == 0) return style.colour;
  return "#777777";
}

bool isFlow(const char* keyword) {
  return std::strcmp(keyword, "at") == 0 || std::strcmp(keyword, "start") == 0 || std::strcmp(keyword, "end") == 0;
}

// A lane: everything that acts on one object (or on the background).
struct Lane {
  std::string name;    // "<sky>", "background"
  std::string what;    // "image", "scene", ...
  std::vector<std::string> rows;  // one row per command, in order of first use
  std::vector<const StatementRecord*> statements;
};

const char* kindName(char kind) {
  switch (kind) {
    case 'i': return "image";
    case 's': return "scene";
    case 'e': return "effect";
    case 'm': return "music";
    case 't': return "texture";
    default: return "";
  }
}

// Lanes for what runs once the show has started, in the order the script first names them;
// loading before `start` and textures (only loaded and freed) have none.
std::vector<Lane> lanesOf(const std::vector<StatementRecord>& statements) {
  std::vector<Lane> lanes;
  std::map<std::string, size_t> index;
  for (const StatementRecord& s : statements) {
    if (s.scheduleTime < 0 || isFlow(s.keyword) || s.targetKind == 't') continue;
    const bool background = std::strcmp(s.keyword, "fadebg") == 0;
    if (!background && s.targetKind == 0) continue;
    const std::string key = background ? "background" : std::string(1, s.targetKind) + s.target;
    auto found = index.find(key);
    if (found == index.end()) {
      found = index.emplace(key, lanes.size()).first;
      lanes.push_back({background ? "background" : "<" + s.target + ">", background ? "" : kindName(s.targetKind),
                       {}, {}});
    }
    Lane& lane = lanes[found->second];
    if (std::find(lane.rows.begin(), lane.rows.end(), s.keyword) == lane.rows.end()) lane.rows.push_back(s.keyword);
    lane.statements.push_back(&s);
  }
  return lanes;
}

std::string span(uint32_t from, uint32_t to) { return formatShowTime(from) + " to " + formatShowTime(to); }

class ChartDrawing {
 public:
  ChartDrawing(const ChartInput& input, uint32_t length, const std::vector<Lane>& lanes)
      : input_(input), length_(length), lanes_(lanes), svg_(width(), height()) {}

  std::string draw() {
    svg_.element("rect", {{"width", "100%"}, {"height", "100%"}, {"fill", "#fbfaf7"}});
    heading();
    legend();
    laneBands();
    axis();
    tune();
    labels();
    lanes();
    return svg_.finish();
  }

 private:
  double x(uint32_t ms) const { return LaneNames + ms / 1000.0 * PixelsPerSecond; }
  double width() const { return x(length_) + Right; }
  double laneHeight(const Lane& lane) const { return lane.rows.size() * RowHeight + LaneGap; }
  double height() const {
    double h = LanesY + 20;
    for (const Lane& lane : lanes_) h += laneHeight(lane);
    return h;
  }
  static std::string n(double value) { return SvgWriter::number(value); }

  void heading() {
    std::string text = input_.scriptName + ": " + std::to_string(input_.statements->size()) + " statements, " +
                       formatShowTime(length_);
    if (!input_.tuneName.empty()) text += ", tune " + input_.tuneName;
    svg_.element("text", {{"x", "12"}, {"y", "22"}, {"font-family", "sans-serif"}, {"font-size", "15"},
                          {"font-weight", "bold"}, {"fill", "#222"}},
                 text);
  }

  // The colours of the commands the chart shows, in a row under the heading.
  void legend() {
    std::vector<const char*> used;
    for (const Lane& lane : lanes_)
      for (const std::string& row : lane.rows)
        for (const CommandStyle& style : Styles)
          if (row == style.keyword && std::find(used.begin(), used.end(), style.keyword) == used.end())
            used.push_back(style.keyword);
    svg_.open("g", {{"class", "legend"}, {"font-family", "sans-serif"}, {"font-size", "10"}, {"fill", "#333"}});
    double lx = LaneNames;
    for (const CommandStyle& style : Styles) {
      if (std::find(used.begin(), used.end(), style.keyword) == used.end()) continue;
      svg_.element("rect", {{"x", n(lx)}, {"y", "30"}, {"width", "10"}, {"height", "9"}, {"rx", "2"},
                            {"fill", style.colour}});
      svg_.element("text", {{"x", n(lx + 13)}, {"y", "38"}}, style.keyword);
      lx += 18 + 6.2 * std::strlen(style.keyword);
    }
    svg_.close();
  }

  // Alternate shading behind the lanes, so a bar can be followed to its name.
  void laneBands() {
    double y = LanesY;
    bool shade = false;
    for (const Lane& lane : lanes_) {
      if (shade)
        svg_.element("rect", {{"x", "0"}, {"y", n(y - LaneGap / 2)}, {"width", n(width())},
                              {"height", n(laneHeight(lane))}, {"fill", "#efece4"}});
      shade = !shade;
      y += laneHeight(lane);
    }
  }

  void axis() {
    svg_.open("g", {{"class", "axis"}, {"font-family", "sans-serif"}, {"font-size", "10"}, {"fill", "#444"}});
    svg_.element("line", {{"x1", n(x(0))}, {"y1", n(AxisY)}, {"x2", n(x(length_))}, {"y2", n(AxisY)},
                          {"stroke", "#444"}});
    for (uint32_t s = 0; s * 1000 <= length_; ++s) {
      const bool major = s % 5 == 0;
      svg_.element("line", {{"x1", n(x(s * 1000))}, {"y1", n(AxisY - (major ? 6 : 3))}, {"x2", n(x(s * 1000))},
                            {"y2", n(AxisY)}, {"stroke", "#444"}});
      if (major)
        svg_.element("text", {{"x", n(x(s * 1000))}, {"y", n(AxisY - 9)}, {"text-anchor", "middle"}},
                     std::to_string(s / 60) + ":" + (s % 60 < 10 ? "0" : "") + std::to_string(s % 60));
    }
    svg_.element("text", {{"x", "12"}, {"y", n(AxisY - 9)}}, "music time");
    // The `at` blocks, as ticks below the axis.
    for (const StatementRecord& s : *input_.statements) {
      if (std::strcmp(s.keyword, "at") != 0 || s.time < 0) continue;
      svg_.open("line", {{"class", "at"}, {"data-time", std::to_string(s.time)}, {"x1", n(x(uint32_t(s.time)))},
                         {"y1", n(AxisY)}, {"x2", n(x(uint32_t(s.time)))}, {"y2", n(AxisY + 8)},
                         {"stroke", "#c0392b"}, {"stroke-width", "1.5"}});
      svg_.title("at " + formatShowTime(uint32_t(s.time)) + " (line " + std::to_string(s.line) + ")");
      svg_.close();
    }
    svg_.element("text", {{"x", "12"}, {"y", n(AxisY + 9)}, {"fill", "#c0392b"}}, "at");
    svg_.close();
  }

  void tune() {
    const TuneSummary* tune = input_.tune;
    svg_.open("g", {{"class", "tune"}, {"font-family", "sans-serif"}, {"font-size", "10"}});
    svg_.element("text", {{"x", "12"}, {"y", n(PatternsY + 15)}, {"fill", "#444"}}, "song position");
    svg_.element("text", {{"x", "12"}, {"y", n(LoudnessY + LoudnessHeight / 2 + 4)}, {"fill", "#444"}}, "loudness");
    if (!tune) {
      svg_.element("text", {{"x", n(x(0) + 4)}, {"y", n(PatternsY + 15)}, {"fill", "#888"}}, "no tune");
      svg_.close();
      return;
    }
    for (size_t i = 0; i < tune->positions.size(); ++i) {
      const TuneSummary::Position& p = tune->positions[i];
      const uint32_t end = std::min(length_, i + 1 < tune->positions.size() ? tune->positions[i + 1].start : tune->length);
      if (p.start >= end) continue;
      svg_.open("g", {{"class", "position"}, {"data-order", std::to_string(p.order)},
                      {"data-pattern", std::to_string(p.pattern)}, {"data-start", std::to_string(p.start)},
                      {"data-end", std::to_string(end)}});
      svg_.title("position " + std::to_string(p.order) + ", pattern " + std::to_string(p.pattern) + ": " +
                 span(p.start, end));
      svg_.element("rect", {{"x", n(x(p.start))}, {"y", n(PatternsY)}, {"width", n(x(end) - x(p.start))},
                            {"height", n(PatternsHeight)}, {"fill", i % 2 ? "#d9e4f0" : "#c3d3e6"},
                            {"stroke", "#fbfaf7"}});
      svg_.element("text", {{"x", n(x(p.start) + 3)}, {"y", n(PatternsY + 15)}, {"fill", "#234"}},
                   std::to_string(p.order));
      svg_.close();
    }
    // Loudness as a filled outline, mirrored round its middle like a waveform overview.
    std::string top, bottom;
    const double middle = LoudnessY + LoudnessHeight / 2;
    float peak = 0.05f;
    for (const TuneSummary::Loudness& l : tune->loudness) peak = std::max(peak, l.level);
    for (const TuneSummary::Loudness& l : tune->loudness) {
      if (l.start > length_) break;
      const double half = l.level / peak * (LoudnessHeight / 2);
      top += n(x(l.start)) + "," + n(middle - half) + " ";
      bottom = n(x(l.start)) + "," + n(middle + half) + " " + bottom;
    }
    if (!top.empty())
      svg_.element("polygon", {{"class", "loudness"}, {"points", top + bottom}, {"fill", "#7a93b5"}});
    svg_.close();
  }

  void labels() {
    std::vector<const NameEntry<int32_t>*> timed;
    for (const NameEntry<int32_t>* l = input_.labels->head(); l; l = l->next)
      if (l->object >= 0) timed.push_back(l);
    svg_.open("g", {{"class", "labels"}, {"font-family", "sans-serif"}, {"font-size", "11"}});
    for (const NameEntry<int32_t>* l : timed) {
      const double lx = x(uint32_t(l->object));
      svg_.open("g", {{"class", "label"}, {"data-name", l->name}, {"data-time", std::to_string(l->object)}});
      svg_.title("[" + std::string(l->name) + "] " + formatShowTime(uint32_t(l->object)));
      svg_.element("line", {{"x1", n(lx)}, {"y1", n(PatternsY - 4)}, {"x2", n(lx)}, {"y2", n(height() - 10)},
                            {"stroke", "#c0392b"}, {"stroke-dasharray", "4 3"}, {"stroke-opacity", "0.6"}});
      svg_.element("text", {{"x", n(lx + 3)}, {"y", n(LanesY - 12)}, {"fill", "#a02818"}, {"font-weight", "bold"}},
                   "[" + std::string(l->name) + "]");
      svg_.close();
    }
    svg_.close();
  }

  void lanes() {
    double y = LanesY;
    for (const Lane& lane : lanes_) {
      svg_.open("g", {{"class", "lane"}, {"data-name", lane.name}});
      svg_.element("text", {{"x", "12"}, {"y", n(y + 10)}, {"font-family", "sans-serif"}, {"font-size", "11"},
                            {"fill", "#222"}},
                   lane.name + (lane.what.empty() ? "" : "  " + lane.what));
      for (const StatementRecord* s : lane.statements) bar(*s, y + rowOf(lane, s->keyword) * RowHeight);
      svg_.close();
      y += laneHeight(lane);
    }
  }

  static size_t rowOf(const Lane& lane, const char* keyword) {
    return static_cast<size_t>(std::find(lane.rows.begin(), lane.rows.end(), keyword) - lane.rows.begin());
  }

  // A span from the statement's schedule to its end; a statement that acts once (or whose end has
  // passed when it runs) is a thin mark.
  void bar(const StatementRecord& s, double y) {
    const uint32_t start = uint32_t(s.scheduleTime);
    const bool spans = s.timed && s.time > s.scheduleTime;
    const uint32_t end = spans ? uint32_t(s.time) : start;
    const std::string name = std::string(s.keyword) + (s.target.empty() ? "" : " <" + s.target + ">");
    svg_.open("rect", {{"class", "span"}, {"data-command", s.keyword}, {"data-start", std::to_string(start)},
                       {"data-end", std::to_string(end)}, {"data-line", std::to_string(s.line)},
                       {"x", n(x(start))}, {"y", n(y + 1)}, {"width", n(std::max(2.0, x(end) - x(start)))},
                       {"height", n(RowHeight - 2)}, {"rx", "2"}, {"fill", colourOf(s.keyword)}});
    svg_.title(name + ": " + (spans ? span(start, end) : "at " + formatShowTime(start)) + " (line " +
               std::to_string(s.line) + ")");
    svg_.close();
  }

  const ChartInput& input_;
  uint32_t length_;
  const std::vector<Lane>& lanes_;
  SvgWriter svg_;
};

}  // namespace

uint32_t chartLength(const ChartInput& input) {
  if (input.endTime) return std::max<uint32_t>(*input.endTime, 1000);
  uint32_t last = 1000;
  for (const StatementRecord& s : *input.statements) {
    if (s.scheduleTime >= 0) last = std::max(last, uint32_t(s.scheduleTime));
    if (s.timed && s.time >= 0) last = std::max(last, uint32_t(s.time));
  }
  return last;
}

std::string timelineChart(const ChartInput& input) {
  const std::vector<Lane> lanes = lanesOf(*input.statements);
  return ChartDrawing(input, chartLength(input), lanes).draw();
}

}  // namespace demo
