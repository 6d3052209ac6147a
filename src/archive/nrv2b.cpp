// Loader contract: archive/loader_contract.h.

#include <cstring>
#include <memory>
#include <mutex>

#include <ucl/ucl.h>

#include "archive/archive.h"

namespace demo {

namespace {

// UCL's "safe" decoder checks its input position only after some of its bit-buffer refills, so it
// reads one byte past the end of a stream before reporting the overrun: an empty stream, or one cut
// right after a match offset. Its checks come at most a few bits apart, never a whole refill, so the
// stray read stays within one byte; the decoder runs on a copy with zeroed slack behind it, which
// keeps that read inside our own buffer (the libucl build is not instrumented, so a sanitizer
// would not see it).
constexpr uint32_t InputSlack = 8;

}  // namespace

int decompressNrv2b(const uint8_t* input, uint32_t inputSize, uint8_t* output, uint32_t size) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { ucl_init(); });
  auto padded = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(inputSize) + InputSlack);
  if (inputSize) std::memcpy(padded.get(), input, inputSize);
  std::memset(padded.get() + inputSize, 0, InputSlack);
  // The safe decoder checks every output write and every look-behind against the output length, so
  // a corrupt or hostile stream fails instead of writing past the buffer.
  ucl_uint produced = size;
  const int result = ucl_nrv2b_decompress_safe_8(padded.get(), inputSize, output, &produced, nullptr);
  return result == UCL_E_OK && produced == size ? ReadOk : ReadCorrupt;
}

}  // namespace demo
