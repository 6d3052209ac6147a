#pragma once
// Writes PNG frames on a thread of its own, so that compressing one frame overlaps rendering the
// next: compression is more than half of a capture's work, and the renderer leaves a core idle
// while the main thread compresses. One frame waits while another is written; the frame is copied
// on hand-over, so the caller may reuse its buffer at once. What lands in the files does not depend
// on the timing.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace demo {

class BackgroundPngWriter {
 public:
  BackgroundPngWriter(uint32_t width, uint32_t height);
  ~BackgroundPngWriter();  // finishes what was handed over
  BackgroundPngWriter(const BackgroundPngWriter&) = delete;
  BackgroundPngWriter& operator=(const BackgroundPngWriter&) = delete;

  // Hands over an RGB frame for `path`, waiting while one frame is still waiting. False once a
  // write has failed (the reason in error()): nothing more is written then.
  bool write(const std::string& path, const uint8_t* rgb);
  // Waits until everything handed over is written; false when anything failed.
  bool finish();
  const std::string& error() const { return error_; }

 private:
  void run();

  const uint32_t width_, height_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<uint8_t> waiting_;  // the frame handed over, not yet taken by the thread
  std::string waitingPath_;
  bool hasWaiting_ = false;
  bool writing_ = false;
  bool stop_ = false;
  std::string error_;  // set by the thread, read by the caller under the mutex or after finish
  std::thread thread_;
};

}  // namespace demo
