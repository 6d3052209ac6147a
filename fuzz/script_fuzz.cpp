// One script compiled into a fresh show (headless host, recording device, scripted music), as
// demo --check would compile demo.run.

#include <cstdint>
#include <cstring>
#include <memory>

#include "script/compiler.h"
#include "support/show_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1u << 20) return 0;
  demo::test::ShowHarness h;
  demo::Reader reader;
  auto bytes = std::make_unique<uint8_t[]>(size);
  if (size) std::memcpy(bytes.get(), data, size);
  reader.assign(std::move(bytes), static_cast<uint32_t>(size));
  demo::compileScript(h.show, reader);
  return 0;
}
