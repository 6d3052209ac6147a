// One 3DS file read as loadscene reads it.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "archive/reader.h"
#include "scene/scene_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1u << 20) return 0;
  demo::Reader reader;
  auto bytes = std::make_unique<uint8_t[]>(size);
  if (size) std::memcpy(bytes.get(), data, size);
  reader.assign(std::move(bytes), static_cast<uint32_t>(size));
  demo::RawScene scene;
  std::string reason;
  if (!demo::readScene(reader, scene, &reason) && reason.empty()) __builtin_trap();
  return 0;
}
