#include "app/web/page_capture.h"

#include "app/capture.h"
#include "capture/capture_graphics.h"
#include "platform/gl/gl_device.h"
#include "platform/web/web_graphics.h"

extern "C" {
// capture_library.js: a synchronous POST of the bytes to capture/WHAT; the HTTP status, 0 when the
// request itself failed.
int demo_capture_post(const char* what, const void* data, uint32_t bytes);
}

namespace demo {

bool PageCaptureOutput::post(const std::string& what, const uint8_t* data, size_t bytes) {
  const int status = demo_capture_post(what.c_str(), data, static_cast<uint32_t>(bytes));
  if (status == 200) return true;
  const std::string request = "capture/" + what.substr(0, what.find('?'));
  if (status == 0) return fail("the page's server cannot be reached for " + request);
  return fail("the page's server answered " + request + " with HTTP status " + std::to_string(status));
}

bool PageCaptureOutput::open() {
  return post("open?width=" + std::to_string(width_) + "&height=" + std::to_string(height_) +
                  "&fps=" + std::to_string(fps_) + "&rate=" + std::to_string(sampleRate_),
              nullptr, 0);
}

bool PageCaptureOutput::writeFrame(const uint8_t* rgb) {
  return post("frame", rgb, size_t{width_} * height_ * 3);
}

bool PageCaptureOutput::writeAudio(const uint8_t* bytes, size_t count) {
  audio_.insert(audio_.end(), bytes, bytes + count);
  return audio_.size() < AudioPiece || flushAudio();
}

bool PageCaptureOutput::flushAudio() {
  if (audio_.empty()) return true;
  const bool sent = post("audio", audio_.data(), audio_.size());
  audio_.clear();
  return sent;
}

bool PageCaptureOutput::finish(uint64_t frames) {
  const bool flushed = flushAudio();
  return post("finish?frames=" + std::to_string(frames), nullptr, 0) && flushed;
}

std::unique_ptr<CaptureOutput> makeCaptureOutput(const CaptureOptions& options, uint32_t sampleRate,
                                                 std::string& /*error*/) {
  return std::make_unique<PageCaptureOutput>(options.width, options.height, options.fps, sampleRate);
}

int runCapture(const CaptureOptions& options, const std::string& showText, const char* scriptName, std::FILE* log) {
  WebGraphicsConfig desktop;
  desktop.width = options.width;
  desktop.height = options.height;
  CaptureGraphics graphics;
  graphics.direct3d = webDirect3DCreate;
  graphics.direct3dContext = &desktop;
  graphics.readBack = [](RenderDevice& device, std::vector<uint8_t>& rgba) {
    return static_cast<GlDevice&>(device).readPixels(rgba);
  };
  return runCaptureWith(graphics, options, showText, scriptName, log);
}

}  // namespace demo
