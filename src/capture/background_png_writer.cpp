#include "capture/background_png_writer.h"

#include "cli/output_file.h"
#include "gfx/png_file.h"

namespace demo {

BackgroundPngWriter::BackgroundPngWriter(uint32_t width, uint32_t height)
    : width_(width), height_(height), thread_(&BackgroundPngWriter::run, this) {}

BackgroundPngWriter::~BackgroundPngWriter() {
  finish();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

bool BackgroundPngWriter::write(const std::string& path, const uint8_t* rgb) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return !hasWaiting_ || !error_.empty(); });
  if (!error_.empty()) return false;
  waiting_.assign(rgb, rgb + size_t{width_} * height_ * 3);
  waitingPath_ = path;
  hasWaiting_ = true;
  lock.unlock();
  changed_.notify_all();
  return true;
}

bool BackgroundPngWriter::finish() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return (!hasWaiting_ && !writing_) || !error_.empty(); });
  return error_.empty();
}

void BackgroundPngWriter::run() {
  std::vector<uint8_t> frame;
  std::string path;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return hasWaiting_ || stop_; });
    if (!hasWaiting_) return;
    frame.swap(waiting_);
    path.swap(waitingPath_);
    hasWaiting_ = false;
    writing_ = true;
    lock.unlock();
    changed_.notify_all();  // the caller may hand over the next frame while this one is written
    std::string error;
    // Written beside its name and renamed when complete: a full disk or an interruption never
    // leaves a truncated frame.
    cli::OutputFile file(path);
    bool written = writePng(file.temporary().string().c_str(), frame.data(), width_, height_, width_ * 3, 3, &error);
    if (!written) error = path + ": " + error;
    else written = file.commit(error);  // its reason names the file
    lock.lock();
    writing_ = false;
    if (!written && error_.empty()) error_ = error;
    changed_.notify_all();
  }
}

}  // namespace demo
