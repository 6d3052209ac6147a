#include <mutex>

#include <ucl/ucl.h>

#include "archive/archive.h"

namespace demo {

int decompressNrv2b(const uint8_t* input, uint32_t inputSize, uint8_t* output, uint32_t size) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { ucl_init(); });
  // The safe decoder checks every input read and every output write against the two lengths, so a
  // corrupt or hostile stream fails instead of writing past the buffer.
  ucl_uint produced = size;
  const int result = ucl_nrv2b_decompress_safe_8(input, inputSize, output, &produced, nullptr);
  return result == UCL_E_OK && produced == size ? ReadOk : ReadCorrupt;
}

}  // namespace demo
