#pragma once
// The damaged copies of one file that every loader must survive: the file cut at every length up to
// 4 KiB and then at every 97th length, and each of its first 256 bytes set in turn to 0x00, 0x01,
// 0x7F, 0x80 and 0xFF. Each copy is handed over in a heap buffer of exactly its length, so a read
// one byte past the end is an AddressSanitizer report, not a lucky read of the next byte.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace demo::test {

// One damaged copy: `length` bytes of the file, with `value` at `position` when `position` is set.
struct Damage {
  uint64_t length = 0;
  int64_t position = -1;
  uint8_t value = 0;

  std::string describe() const;  // "cut at 1234" or "byte 17 = 0x80"
};

// Every damage of a file of this size, in a fixed order. A byte set to the value it already has is
// left out (it is the intact file).
std::vector<Damage> damagesOf(std::span<const uint8_t> file);

// One damaged copy in a heap buffer of exactly its length. A load function may take the buffer over
// (a Reader adopts it, as it adopts an archive member) or only look at it.
struct DamagedCopy {
  std::unique_ptr<uint8_t[]> bytes;
  uint32_t size = 0;

  std::span<const uint8_t> view() const { return {bytes.get(), size}; }
};

// Loads the damaged copies whose index in damagesOf() is shard modulo shards, in order, and returns
// how many were loaded. `trace` (if set) names the copy before its load, so that a crash report says
// which one it was.
using LoadFunction = std::function<void(DamagedCopy& copy)>;
uint64_t sweepDamages(std::span<const uint8_t> file, const LoadFunction& load, unsigned shard = 0,
                      unsigned shards = 1, const std::function<void(const Damage&)>& trace = {});

// How many shards a file of this size is split into, so that no single test case of the sweep
// runs much longer than the others and ctest can spread them over its jobs.
unsigned shardsFor(uint64_t fileSize);

}  // namespace demo::test
