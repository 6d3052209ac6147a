#include "capture/capture_session.h"

namespace demo {
namespace {

// The back buffer's alpha is not part of the picture (X8R8G8B8): PNG and video get RGB.
void dropAlpha(const std::vector<uint8_t>& rgba, std::vector<uint8_t>& rgb) {
  const size_t pixels = rgba.size() / 4;
  rgb.resize(pixels * 3);
  const uint8_t* in = rgba.data();
  uint8_t* out = rgb.data();
  for (size_t i = 0; i < pixels; ++i, in += 4, out += 3) {
    out[0] = in[0];
    out[1] = in[1];
    out[2] = in[2];
  }
}

}  // namespace

CaptureSession::CaptureSession(const CaptureOptions& options, CaptureOutput& output, CaptureRig rig,
                               CaptureProgress& progress)
    : output_(output),
      rig_(rig),
      progress_(progress),
      schedule_(static_cast<uint32_t>(AudioOutput::OutputRate), options.fps),
      limit_(options.frameLimit()),
      width_(options.width),
      height_(options.height) {}

void CaptureSession::frameFinished() {
  // This frame's own time covers the sleeps that follow it up to one frame (the frame step's
  // Sleep(1) among them).
  sleepSinceFrame_ = 0;
  if (stopped_) return;
  RenderDevice* device = rig_.layer.device();
  if (!device || !rig_.readBack(*device, rgba_) || rgba_.size() != size_t{width_} * height_ * 4)
    return fail("cannot read the frame back from the renderer");
  dropAlpha(rgba_, picture_);
  record(picture_);
}

void CaptureSession::slept(uint32_t milliseconds) {
  sleepSinceFrame_ += uint64_t{milliseconds} * schedule_.fps();
  while (sleepSinceFrame_ > FrameOfSleep && !stopped_) {
    sleepSinceFrame_ -= FrameOfSleep;
    // Before the first frame the screen is black.
    if (picture_.empty()) picture_.assign(size_t{width_} * height_ * 3, 0);
    record(picture_);
  }
}

void CaptureSession::record(const std::vector<uint8_t>& rgb) {
  if (rig_.interrupted && rig_.interrupted()) return stopShow();
  if (!openOutput()) return;
  if (!output_.writeFrame(rgb.data())) return fail(output_.error());
  rig_.wave.advance(schedule_.length(frames_));
  rig_.music.poll();
  const std::vector<uint8_t> played = rig_.wave.takePlayed();
  if (!output_.writeAudio(played.data(), played.size())) return fail(output_.error());
  ++frames_;
  progress_.update(frames_, rig_.frame.demoTime);
  if (limit_ && frames_ >= *limit_) stopShow();
}

bool CaptureSession::openOutput() {
  if (opened_) return true;
  opened_ = true;
  if (output_.open()) return true;
  fail(output_.error());
  return false;
}

bool CaptureSession::finish() {
  progress_.interrupt();
  if (failed()) {
    output_.finish(frames_);  // only to clean up
    return false;
  }
  if (!output_.finish(frames_)) fail(output_.error());
  return !failed();
}

bool CaptureSession::finishInterrupted() {
  progress_.interrupt();
  return output_.finishInterrupted(frames_);
}

void CaptureSession::fail(const std::string& error) {
  if (error_.empty()) error_ = error;
  stopShow();
}

void CaptureSession::stopShow() {
  if (stopped_) return;
  stopped_ = true;
  rig_.host.queueKey(KeyEscape);
}

}  // namespace demo
