#pragma once
// Capture in the browser: the show drawn by WebGL 2 on the page's canvas at the capture's size, and
// every frame and the sound played with it handed to the server the page came from (the browser
// test's, tests/web), one synchronous request at a time, so the capture stays on the engine's own
// schedule and nothing piles up in the page. The session, the frame schedule and the virtual sound
// are the native capture's (app/capture_session.h).
//
// Requests, all POST, relative to the page:
//   capture/open?width=W&height=H&fps=F&rate=R   before the first frame
//   capture/frame                                 one frame: W x H x 3 bytes of RGB, top row first
//   capture/audio                                 16-bit stereo PCM, in order, in pieces
//   capture/finish?frames=N                       the end; after a failure too
// Any answer but 200 fails the capture with the status in its reason.

#include <cstdint>
#include <string>
#include <vector>

#include "capture/capture_output.h"

namespace demo {

class PageCaptureOutput final : public CaptureOutput {
 public:
  static constexpr size_t AudioPiece = 1 << 20;  // bytes of sound held before they are sent

  PageCaptureOutput(uint32_t width, uint32_t height, uint32_t fps, uint32_t sampleRate)
      : width_(width), height_(height), fps_(fps), sampleRate_(sampleRate) {}

  bool open() override;
  bool writeFrame(const uint8_t* rgb) override;
  bool writeAudio(const uint8_t* bytes, size_t count) override;
  bool finish(uint64_t frames) override;

 private:
  bool post(const std::string& what, const uint8_t* data, size_t bytes);
  bool flushAudio();

  uint32_t width_, height_, fps_, sampleRate_;
  std::vector<uint8_t> audio_;
};

}  // namespace demo
