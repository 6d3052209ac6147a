#include "capture_fixture.h"

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/capture.h"
#include "gfx/png_file.h"
#include "music/audio_output.h"
#include "platform/headless/headless_graphics.h"
#include "platform/headless/virtual_wave_out.h"
#include "writers/tga_writer.h"
#include "support/square_tune.h"
#include "writers/xm_writer.h"

namespace demo::test {
namespace {

// 64 x 64 squares of 8 pixels in four colours, half of them half transparent.
std::vector<uint32_t> checker() {
  static constexpr uint32_t Colours[4] = {0xFFE02020, 0x8020E020, 0xFF2020E0, 0x80E0E020};
  std::vector<uint32_t> pixels;
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x) pixels.push_back(Colours[(x / 8 + y / 8 * 3) % 4]);
  return pixels;
}

// Replaces every `placeholder` in the text by the quoted path.
void name(std::string& text, const std::string& placeholder, const std::filesystem::path& path) {
  for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder))
    text.replace(at, placeholder.size(), "\"" + path.string() + "\"");
}

bool egl() {
  static const bool available = [] {
    Direct3D* d3d = headlessDirect3DCreate(nullptr, D3D_SDK_VERSION_8);
    if (d3d) d3d->Release();
    return d3d != nullptr;
  }();
  return available;
}

uint32_t le32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24;
}

}  // namespace

void CaptureTest::SetUp() {
  if (!egl()) GTEST_SKIP() << "no EGL display can be opened on this machine: captures cannot render";
}

void CaptureTest::writeShow(const std::string& script) {
  saveXm(songPath(), squareTune());
  const std::vector<uint8_t> picture = writeTga(TgaLayout{}, 64, 64, checker());
  writeFile(dir / "picture.tga", {picture.begin(), picture.end()});
  std::string text = script;
  name(text, "SONG", songPath());
  name(text, "PICTURE", dir / "picture.tga");
  writeFile(dir / "demo.run", {text.begin(), text.end()});
}

CaptureOptions CaptureTest::options(const std::string& name, uint32_t fps) const {
  CaptureOptions o;
  o.output = (dir / name).string();
  o.fps = fps;
  o.width = 64;
  o.height = 48;
  return o;
}

int CaptureTest::capture(const CaptureOptions& o) {
  std::FILE* file = std::tmpfile();
  const int status = runCapture(o, "", (dir / "demo.run").c_str(), file);
  std::rewind(file);
  log.clear();
  for (int c; (c = std::fgetc(file)) != EOF;) log += static_cast<char>(c);
  std::fclose(file);
  return status;
}

WavSound readWav(const std::filesystem::path& path) {
  const std::vector<unsigned char> bytes = readFile(path);
  WavSound sound;
  if (bytes.size() < 44) return sound;
  sound.channels = static_cast<uint16_t>(bytes[22] | bytes[23] << 8);
  sound.rate = le32(bytes, 24);
  sound.bits = static_cast<uint16_t>(bytes[34] | bytes[35] << 8);
  sound.declaredBytes = le32(bytes, 40);
  sound.data.assign(bytes.begin() + 44, bytes.end());
  return sound;
}

std::vector<std::filesystem::path> frameFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> frames;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().rfind("frame_", 0) == 0 && entry.path().extension() == ".png")
      frames.push_back(entry.path());
  std::sort(frames.begin(), frames.end());
  return frames;
}

uint32_t cornerColour(const std::filesystem::path& png) {
  std::vector<uint8_t> rgba;
  uint32_t width = 0, height = 0;
  if (!readPng(png.c_str(), rgba, width, height)) return 0xDEADBEEF;
  return uint32_t{rgba[0]} << 16 | uint32_t{rgba[1]} << 8 | rgba[2];
}

std::vector<uint8_t> playedSong(const std::filesystem::path& song, uint64_t frames) {
  VirtualWaveOut wave;
  AudioOutput output(wave);
  output.setThreaded(false);
  std::vector<uint8_t> played;
  if (!output.openAudioOutput()) return played;
  Module* module = output.loadModule(song.c_str());
  if (!module || !output.startModule(module)) return played;
  // Steps of a prime length, unrelated to any frame rate or block size.
  for (uint64_t done = 0; done < frames;) {
    const auto step = static_cast<uint32_t>(std::min<uint64_t>(997, frames - done));
    wave.advance(step);
    output.poll();
    const std::vector<uint8_t> bytes = wave.takePlayed();
    played.insert(played.end(), bytes.begin(), bytes.end());
    done += step;
  }
  output.freeModule(module);
  output.closeDevice();
  return played;
}

void writeFakeFfmpeg(const std::filesystem::path& folder, const std::string& body) {
  std::filesystem::create_directories(folder);
  const std::string text = "#!/bin/sh\n" + body + "\n";
  writeFile(folder / "ffmpeg", {text.begin(), text.end()});
  std::filesystem::permissions(folder / "ffmpeg", std::filesystem::perms::owner_all);
}

FileSizeLimit::FileSizeLimit(uint64_t bytes) {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  saved_ = limit.rlim_cur;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
  savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = saved_;
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, savedHandler_);
}

ScopedPath::ScopedPath(const std::string& path) {
  const char* old = std::getenv("PATH");
  had_ = old != nullptr;
  if (old) saved_ = old;
  setenv("PATH", path.c_str(), 1);
}

ScopedPath::~ScopedPath() {
  if (had_)
    setenv("PATH", saved_.c_str(), 1);
  else
    unsetenv("PATH");
}

}  // namespace demo::test
