#pragma once
// Bytes placed right before an inaccessible page, so that any read past their end faults at once,
// also inside a library the sanitizers do not instrument (libucl). Optional slack: readable bytes
// between the end and the guard page, to measure how far a library reads past.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

namespace demo::test {

class GuardedBytes {
 public:
  explicit GuardedBytes(std::span<const uint8_t> bytes, size_t slack = 0) : size_(bytes.size()) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t used = size_ + slack;
    mapped_ = (used + page - 1) / page * page + page;
    void* map = mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) std::abort();
    base_ = static_cast<uint8_t*>(map);
    if (mprotect(base_ + mapped_ - page, page, PROT_NONE) != 0) std::abort();
    data_ = base_ + mapped_ - page - used;
    if (size_) std::memcpy(data_, bytes.data(), size_);
  }
  ~GuardedBytes() { munmap(base_, mapped_); }
  GuardedBytes(const GuardedBytes&) = delete;
  GuardedBytes& operator=(const GuardedBytes&) = delete;

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  uint8_t* base_ = nullptr;
  uint8_t* data_ = nullptr;
  size_t mapped_ = 0;
  size_t size_ = 0;
};

}  // namespace demo::test
