// One XM module loaded through the music loader's file operations, then played for 300 ticks with
// the mixer running between them (64 frames a tick, so that playback stays cheap while every row
// tick and effect tick of the first rows runs).

#include <cstdint>

#include "module_from_memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1u << 22) return 0;
  const auto module = demo::test::loadModuleFromBytes({data, size});
  if (module) demo::test::playTicks(*module, 300, 64);
  return 0;
}
