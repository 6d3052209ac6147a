#include "capture/capture_progress.h"

#include <cmath>

namespace demo {
namespace {

constexpr auto BarInterval = std::chrono::milliseconds(250);
constexpr auto LineInterval = std::chrono::seconds(5);
constexpr int BarWidth = 24;

std::string minutesAndSeconds(double seconds) {
  const auto whole = static_cast<long long>(std::llround(seconds));
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
  return text;
}

}  // namespace

std::string progressText(const ProgressReading& r, bool bar) {
  const double speed = r.elapsed > 0 ? r.frames / r.elapsed : 0;
  const double share = r.total && *r.total ? static_cast<double>(r.frames) / *r.total : 0;
  char demo[32];
  std::snprintf(demo, sizeof demo, "%u:%02u.%03u", r.demoTime / 60000, r.demoTime / 1000 % 60, r.demoTime % 1000);
  char rate[64];
  std::snprintf(rate, sizeof rate, "%.1f fps (%.2fx%s)", speed, speed / r.fps, bar ? "" : " real time");
  const std::string frames = std::to_string(r.frames) + (r.total ? "/" + std::to_string(*r.total) : "");
  const std::string percent = std::to_string(static_cast<int>(share * 100)) + "%";
  std::string left;
  if (r.total && speed > 0) left = minutesAndSeconds((*r.total - std::min(r.frames, *r.total)) / speed) + " left";

  if (!bar) {
    std::string text =
        "capture: frame " + frames + (r.total ? " (" + percent + ")" : "") + ", demo " + demo + ", " + rate;
    return left.empty() ? text : text + ", " + left;
  }
  std::string text;
  if (r.total) {
    const int filled = static_cast<int>(share * BarWidth);
    text = "[" + std::string(filled, '#') + std::string(BarWidth - filled, '-') + "] " +
           std::string(4 - std::min<size_t>(4, percent.size()), ' ') + percent + "  ";
  }
  text += "frame " + frames + "  demo " + demo + "  " + rate;
  return left.empty() ? text : text + "  " + left;
}

CaptureProgress::CaptureProgress(std::FILE* out, bool terminal, std::optional<uint64_t> total, uint32_t fps)
    : out_(out), terminal_(terminal) {
  reading_.total = total;
  reading_.fps = fps;
}

double CaptureProgress::elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

void CaptureProgress::update(uint64_t frames, uint32_t demoTime) {
  if (!out_) return;
  const Clock::time_point now = Clock::now();
  const bool finished = reading_.total && frames >= *reading_.total;
  if (!finished && now - lastShown_ < (terminal_ ? Clock::duration(BarInterval) : Clock::duration(LineInterval)))
    return;
  lastShown_ = now;
  reading_.frames = frames;
  reading_.demoTime = demoTime;
  reading_.elapsed = elapsed();
  if (terminal_) {
    // Back to the line's start and clear to its end: the bar is redrawn in place.
    std::fprintf(out_, "\r%s\x1b[K", progressText(reading_, true).c_str());
    barShown_ = true;
  } else if (!finished) {
    std::fprintf(out_, "%s\n", progressText(reading_, false).c_str());
  }
  std::fflush(out_);
}

void CaptureProgress::interrupt() {
  if (!barShown_) return;
  std::fputc('\n', out_);
  barShown_ = false;
}

}  // namespace demo
