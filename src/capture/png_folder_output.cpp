#include "capture/png_folder_output.h"

#include <cstdio>
#include <system_error>

namespace demo {
namespace {

namespace fs = std::filesystem;

// frame_ followed by six or more digits and .png: a name this output writes.
bool isFrameName(const std::string& name) {
  constexpr size_t Prefix = 6, Suffix = 4;  // "frame_", ".png"
  if (name.size() < Prefix + 6 + Suffix || name.compare(0, Prefix, "frame_") != 0 ||
      name.compare(name.size() - Suffix, Suffix, ".png") != 0)
    return false;
  for (size_t i = Prefix; i < name.size() - Suffix; ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

}  // namespace

std::string PngFolderOutput::frameName(uint64_t index) {
  char name[40];
  std::snprintf(name, sizeof name, "frame_%06llu.png", static_cast<unsigned long long>(index));
  return name;
}

bool PngFolderOutput::prepare() {
  std::error_code error;
  const fs::file_status status = fs::status(folder_, error);
  if (fs::exists(status) && !fs::is_directory(status))
    return fail(folder_.string() + " exists and is not a folder (a video needs a name ending in .mp4, .mkv or .webm)");
  return true;
}

bool PngFolderOutput::makeFolder() {
  std::error_code error;
  if (fs::is_directory(folder_, error)) return true;
  if (!fs::create_directories(folder_, error))
    return fail(folder_.string() + ": cannot make the folder: " + error.message());
  return true;
}

bool PngFolderOutput::removeOldFrames() {
  std::error_code error;
  for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
    if (!isFrameName(it->path().filename().string())) continue;
    if (!fs::remove(it->path(), error)) break;
  }
  if (error) return fail(folder_.string() + ": cannot clear the frames of an earlier capture: " + error.message());
  return true;
}

bool PngFolderOutput::open() {
  opened_ = true;
  if (!makeFolder() || !removeOldFrames()) return false;
  if (!audio_.create((folder_ / "audio.wav").string(), sampleRate_, 2, 16)) return fail(audio_.error());
  frames_ = std::make_unique<BackgroundPngWriter>(width_, height_);
  return true;
}

bool PngFolderOutput::writeFrame(const uint8_t* rgb) {
  if (!frames_->write((folder_ / frameName(written_)).string(), rgb)) return fail(frames_->error());
  ++written_;
  return true;
}

bool PngFolderOutput::writeAudio(const uint8_t* bytes, size_t count) {
  return audio_.append(bytes, count) || fail(audio_.error());
}

bool PngFolderOutput::finish(uint64_t) {
  // A show that ends before its first frame still leaves an empty folder with a silent audio.wav.
  if (!opened_ && !open()) return false;
  const bool framesWritten = !frames_ || frames_->finish() || fail(frames_->error());
  return (audio_.finish() || fail(audio_.error())) && framesWritten;
}

}  // namespace demo
