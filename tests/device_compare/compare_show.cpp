#include "compare_show.h"

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "writers/tga_writer.h"
#include "writers/xm_writer.h"

namespace demo::scenes {
namespace {

namespace fs = std::filesystem;

void save(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

XmInstrument looped(const std::vector<int16_t>& wave, bool withEnvelope) {
  XmSample sample;
  sample.data = wave;
  sample.loop = XmLoop::Forward;
  sample.loopLength = static_cast<uint32_t>(wave.size());
  XmInstrument instrument;
  instrument.samples = {sample};
  if (withEnvelope) {
    instrument.volumeEnvelope.points = {{0, 64}, {6, 40}, {24, 8}};
    instrument.volumeEnvelope.on = true;
  }
  return instrument;
}

// Four channels: a bass on a square wave, an arpeggio and a slide on a triangle with a decaying
// envelope, panned apart, so that any difference in mixing, effects or panning shows in the sound.
XmSong tune() {
  XmSong song;
  song.channels = 4;
  song.addPattern(64);
  std::vector<int16_t> square, triangle;
  for (int i = 0; i < 32; ++i) square.push_back(static_cast<int16_t>(i < 16 ? 70 : -70));
  for (int i = 0; i < 32; ++i) triangle.push_back(static_cast<int16_t>(i < 16 ? -100 + 12 * i : 284 - 12 * i));
  song.instruments = {looped(square, false), looped(triangle, true)};
  for (int row = 0; row < 64; ++row) {
    if (row % 4 == 0) song.cell(0, row, 0) = {static_cast<uint8_t>(25 + row / 8 % 3 * 5), 1, 0x30, 0, 0};
    if (row % 8 == 2) song.cell(0, row, 1) = {49, 2, 0, 0x0, 0x47};              // arpeggio
    if (row % 16 == 4) song.cell(0, row, 2) = {61, 2, 0, 0x3, 0x10};             // portamento
    if (row % 16 == 5) song.cell(0, row, 2) = {56, 2, 0, 0x3, 0x10};
    if (row % 8 == 6) song.cell(0, row, 3) = {68, 2, 0, 0x8, static_cast<uint8_t>(row * 4)};  // panning
    if (row % 8 == 7) song.cell(0, row, 3) = {0, 0, 0, 0xA, 0x04};              // volume slide
  }
  return song;
}

// 128 x 128 soft disc in warm colours, alpha falling off to the rim.
std::vector<uint32_t> glow() {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      const double d = std::hypot(x - 63.5, y - 63.5) / 64.0;
      const auto alpha = static_cast<uint32_t>(std::lround(255 * std::max(0.0, 1.0 - d)));
      const auto red = static_cast<uint32_t>(128 + x), green = static_cast<uint32_t>(64 + y);
      const auto blue = static_cast<uint32_t>((x ^ y) & 0xff);
      pixels.push_back(alpha << 24 | red << 16 | green << 8 | blue);
    }
  return pixels;
}

// 64 x 64 diagonal bars in four colours, sharp edges for the filters to smooth.
std::vector<uint32_t> bars() {
  static constexpr uint32_t Colours[4] = {0xFF1040A0, 0xFF20A0C0, 0xFFE0E0E0, 0xFF402060};
  std::vector<uint32_t> pixels;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) pixels.push_back(Colours[(x + y) / 8 % 4]);
  return pixels;
}

}  // namespace

void writeCompareShow(const fs::path& folder, const fs::path& script) {
  fs::create_directories(folder);
  fs::copy_file(script, folder / "demo.run", fs::copy_options::overwrite_existing);
  saveXm(folder / "song.xm", tune());
  save(folder / "glow.tga", writeTga(TgaLayout{}, 128, 128, glow()));
  TgaLayout rgb;
  rgb.depth = 24;
  save(folder / "bars.tga", writeTga(rgb, 64, 64, bars()));
}

fs::path compareShowFolder(const fs::path& configured, const fs::path& workDir, const fs::path& script) {
  if (const char* given = std::getenv("DEMO_COMPARE_SHOW"); given && *given) return given;
  std::error_code error;
  if (fs::is_regular_file(configured / "demo.run", error)) return configured;
  const fs::path made = workDir / "compare_show";
  writeCompareShow(made, script);
  return made;
}

std::string secondsOption() {
  const char* given = std::getenv("DEMO_COMPARE_SECONDS");
  return given && *given ? std::string(" --seconds ") + given : std::string();
}

std::string shellWord(const std::string& text) { return "'" + text + "'"; }

int captureShow(const fs::path& show, const std::string& program, const fs::path& out, const std::string& options) {
  const std::string command = "cd " + shellWord(show.string()) + " && " + program + " --capture " +
                              shellWord(out.string()) + options + " >" + shellWord(out.string() + ".log") + " 2>&1";
  return std::system(command.c_str());
}

}  // namespace demo::scenes
