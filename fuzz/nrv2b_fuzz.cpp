// One compressed archive member as it is stored: a uint32 decompressed size, then the NRV2B stream.
// The output buffer is exactly the declared size, so any write past it is caught. The stream is also
// given to UCL directly, one readable byte before an inaccessible page: that UCL never reads more
// than one byte past a stream is what the slack in decompressNrv2b relies on.

#include <cstdint>
#include <cstring>
#include <memory>

#include <ucl/ucl.h>

#include "archive/archive.h"
#include "support/guarded_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4 || size > 0xFFFFFFFFu) return 0;
  uint32_t declared;
  std::memcpy(&declared, data, 4);  // little-endian, as on every machine this builds for
  if (declared > demo::MaxMemberSize) return 0;  // refused by the archive before decoding
  const auto stream = static_cast<uint32_t>(size - 4);
  auto output = std::make_unique_for_overwrite<uint8_t[]>(declared);
  const int status = demo::decompressNrv2b(data + 4, stream, output.get(), declared);
  if (status != demo::ReadOk && status != demo::ReadCorrupt) __builtin_trap();

  const demo::test::GuardedBytes guarded({data + 4, stream}, 1);
  ucl_uint produced = declared;
  ucl_nrv2b_decompress_safe_8(guarded.data(), stream, output.get(), &produced, nullptr);
  return 0;
}
