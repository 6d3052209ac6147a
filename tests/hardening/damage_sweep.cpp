#include "damage_sweep.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace demo::test {

namespace {

constexpr uint64_t EveryLengthUpTo = 4096;
constexpr uint64_t LengthStride = 97;  // prime, so cuts fall at every offset within 4-byte fields
constexpr uint64_t BytesSet = 256;
constexpr uint8_t Values[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};

}  // namespace

std::string Damage::describe() const {
  char text[64];
  if (position < 0)
    std::snprintf(text, sizeof text, "cut at %llu", static_cast<unsigned long long>(length));
  else
    std::snprintf(text, sizeof text, "byte %lld = 0x%02X", static_cast<long long>(position), value);
  return text;
}

std::vector<Damage> damagesOf(std::span<const uint8_t> file) {
  std::vector<Damage> out;
  const uint64_t size = file.size();
  for (uint64_t length = 0; length < size; length += length < EveryLengthUpTo ? 1 : LengthStride)
    out.push_back({length});
  out.push_back({size});  // the intact file: it must still load
  for (uint64_t i = 0; i < size && i < BytesSet; ++i)
    for (uint8_t value : Values)
      if (file[i] != value) out.push_back({size, static_cast<int64_t>(i), value});
  return out;
}

uint64_t sweepDamages(std::span<const uint8_t> file, const LoadFunction& load, unsigned shard, unsigned shards,
                      const std::function<void(const Damage&)>& trace) {
  const std::vector<Damage> damages = damagesOf(file);
  uint64_t loads = 0;
  for (size_t i = shard; i < damages.size(); i += shards) {
    const Damage& damage = damages[i];
    // Exactly `length` bytes: no spare byte behind the end for a faulty loader to read unnoticed.
    DamagedCopy copy{std::make_unique_for_overwrite<uint8_t[]>(damage.length), static_cast<uint32_t>(damage.length)};
    if (damage.length) std::memcpy(copy.bytes.get(), file.data(), damage.length);
    if (damage.position >= 0) copy.bytes[damage.position] = damage.value;
    if (trace) trace(damage);
    load(copy);
    ++loads;
  }
  return loads;
}

unsigned shardsFor(uint64_t fileSize) {
  // The work of the cuts grows with the square of the size; 96 KiB per shard keeps the shards of
  // the largest real files in the range of the small files' whole sweeps.
  return static_cast<unsigned>(1 + fileSize / (96 * 1024));
}

}  // namespace demo::test
