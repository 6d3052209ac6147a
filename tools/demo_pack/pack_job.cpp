#include "demo_pack/pack_job.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

namespace demo {

std::vector<uint8_t> readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot be read (" + std::strerror(errno) + ")");
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw std::runtime_error(path.string() + ": read error");
  return bytes;
}

namespace {

class Job {
 public:
  Job(const std::vector<PackInput>& inputs, PackMethod method, const PackJobProgress& progress)
      : inputs_(inputs), method_(method), progress_(progress), members_(inputs.size()) {
    // Only for progress: a file that cannot be sized now fails properly when it is read.
    for (const PackInput& input : inputs) {
      std::error_code error;
      const uintmax_t size = std::filesystem::file_size(input.path, error);
      if (!error) total_ += size;
    }
  }

  void work() {
    for (size_t i = next_++; i < inputs_.size() && !failed_; i = next_++) {
      try {
        members_[i] = packOne(inputs_[i]);
      } catch (const std::exception& error) {
        std::lock_guard lock(mutex_);
        if (!failed_) firstError_ = error.what();
        failed_ = true;
      }
    }
  }

  std::vector<PackedMember> result() {
    if (failed_) throw std::runtime_error(firstError_);
    return std::move(members_);
  }

 private:
  PackedMember packOne(const PackInput& input) {
    const std::vector<uint8_t> bytes = readWholeFile(input.path);
    uint64_t reported = 0;
    const PackProgress onProgress = [&](uint64_t done) { advance(done - std::exchange(reported, done)); };
    try {
      PackedMember member = packMember(input.name, bytes, method_, progress_ ? onProgress : PackProgress{});
      advance(bytes.size() - reported);
      return member;
    } catch (const std::exception& error) {
      throw std::runtime_error(input.path.string() + ": " + error.what());
    }
  }

  void advance(uint64_t bytes) {
    if (!progress_) return;
    std::lock_guard lock(mutex_);
    done_ += bytes;
    progress_(done_, std::max(done_, total_));
  }

  const std::vector<PackInput>& inputs_;
  const PackMethod method_;
  const PackJobProgress& progress_;
  std::vector<PackedMember> members_;
  std::atomic<size_t> next_{0};
  std::atomic<bool> failed_{false};
  std::mutex mutex_;
  std::string firstError_;
  uint64_t done_ = 0, total_ = 0;
};

}  // namespace

std::vector<PackedMember> packInputs(const std::vector<PackInput>& inputs, PackMethod method, unsigned threads,
                                     const PackJobProgress& progress) {
  Job job(inputs, method, progress);
  threads = std::clamp<unsigned>(threads, 1, static_cast<unsigned>(std::max<size_t>(inputs.size(), 1)));
  std::vector<std::thread> workers;
  for (unsigned i = 1; i < threads; ++i) workers.emplace_back([&job] { job.work(); });
  job.work();
  for (std::thread& worker : workers) worker.join();
  return job.result();
}

}  // namespace demo
