#include "capture/video_output.h"

#include <strings.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "capture/external_command.h"

namespace demo {
namespace {

bool endsWith(const std::string& text, const char* suffix) {
  const size_t length = std::strlen(suffix);
  return text.size() >= length && strcasecmp(text.c_str() + text.size() - length, suffix) == 0;
}

// Codecs by container: H.264 for .mp4 and .mkv, VP9 for .webm (the only video codecs their
// players expect); AAC, FLAC (lossless, the samples stay exact) and Opus for the sound.
const char* videoCodec(const std::string& path) {
  if (endsWith(path, ".webm")) return "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -row-mt 1 -crf 32 -b:v 0";
  return "-c:v libx264 -preset veryfast -crf 18";
}

const char* audioCodec(const std::string& path) {
  if (endsWith(path, ".webm")) return "-c:a libopus -b:a 160k";
  if (endsWith(path, ".mkv")) return "-c:a flac";
  return "-c:a aac -b:a 192k -movflags +faststart";
}

// No version strings, dates or random identifiers in the files: the same show, the same bytes.
constexpr const char* BitExact = "-fflags +bitexact -flags:v +bitexact -flags:a +bitexact";

}  // namespace

VideoOutput::VideoOutput(std::string path, std::string ffmpeg, const CaptureOptions& options, uint32_t sampleRate,
                         std::chrono::milliseconds patience)
    : path_(std::move(path)),
      ffmpeg_(std::move(ffmpeg)),
      videoPart_(path_ + ".video-part.mkv"),
      audioPart_(path_ + ".audio-part.wav"),
      width_(options.width),
      height_(options.height),
      fps_(options.fps),
      sampleRate_(sampleRate),
      patience_(patience) {}

VideoOutput::~VideoOutput() {
  encoder_.kill();
  removeParts();
}

std::string VideoOutput::encodeCommand() const {
  return shellQuote(ffmpeg_) + " -y -hide_banner -loglevel error -f rawvideo -pixel_format rgb24 -video_size " +
         std::to_string(width_) + "x" + std::to_string(height_) + " -framerate " + std::to_string(fps_) +
         " -i pipe:0 " + videoCodec(path_) + " -pix_fmt yuv420p " + BitExact + " " + shellQuote(videoPart_);
}

std::string VideoOutput::joinCommand() const {
  return shellQuote(ffmpeg_) + " -y -hide_banner -loglevel error -nostdin -i " + shellQuote(videoPart_) + " -i " +
         shellQuote(audioPart_) + " -map 0:v -map 1:a -c:v copy " + audioCodec(path_) + " " + BitExact + " " +
         shellQuote(path_);
}

bool VideoOutput::open() {
  // A dying ffmpeg must make the write fail with EPIPE, not end this process without a word.
  std::signal(SIGPIPE, SIG_IGN);
  if (!audio_.create(audioPart_, sampleRate_, 2, 16)) return fail(audio_.error());
  std::string error;
  // exec: the shell becomes ffmpeg, so ending the child ends ffmpeg itself.
  if (!encoder_.start("exec " + encodeCommand(), error)) return fail("cannot start ffmpeg: " + error);
  return true;
}

bool VideoOutput::writeFrame(const uint8_t* rgb) {
  if (!encoder_.running()) return fail("ffmpeg is not running");
  const size_t bytes = size_t{width_} * height_ * 3;
  switch (encoder_.write(rgb, bytes, patience_)) {
    case PipedCommand::Write::Done:
      return true;
    case PipedCommand::Write::Stalled:
      encoder_.kill();
      char seconds[32];
      std::snprintf(seconds, sizeof seconds, "%.1f", static_cast<double>(patience_.count()) / 1000.0);
      return fail("ffmpeg stopped reading frames: it took nothing for " + std::string(seconds) +
                  " s, so it was ended");
    case PipedCommand::Write::Closed:
      break;
  }
  const std::string how = closePipe() ? "it ended without an error" : error_;
  return fail("ffmpeg stopped taking frames: " + how);
}

bool VideoOutput::writeAudio(const uint8_t* bytes, size_t count) {
  return audio_.append(bytes, count) || fail(audio_.error());
}

bool VideoOutput::closePipe() {
  if (!encoder_.running()) return true;
  const std::string problem = describeExit("ffmpeg", encoder_.finish());
  return problem.empty() || fail(problem + " while encoding " + path_);
}

bool VideoOutput::finishInterrupted(uint64_t) {
  encoder_.kill();
  audio_.discard();
  removeParts();
  return false;
}

bool VideoOutput::finish(uint64_t frames) {
  if (frames == 0) {
    closePipe();
    audio_.finish();
    return fail("the show ended before its first frame: " + path_ + " would have no picture");
  }
  const bool encoded = closePipe();
  const bool sound = audio_.finish() || fail(audio_.error());
  if (!encoded || !sound) return false;
  const std::string problem = describeExit("ffmpeg", std::system(joinCommand().c_str()));
  removeParts();
  if (!problem.empty()) return fail(problem + " while joining picture and sound into " + path_);
  std::error_code error;
  if (std::filesystem::file_size(path_, error) == 0 || error)
    return fail("ffmpeg reported success but " + path_ + " is missing or empty");
  return true;
}

void VideoOutput::removeParts() {
  std::remove(videoPart_.c_str());
  std::remove(audioPart_.c_str());
}

}  // namespace demo
