#pragma once
// The contract every loader of the show keeps: the archive directory and its members (with NRV2B),
// the Reader, the script compiler, the XM loader and the TGA decoder. Each of their files points
// here instead of restating it.
//
// For any byte string whatsoever, a loader
//   - returns success or one of its documented failures (a status code, a null result, a false
//     flag), and never aborts, throws, or stops the process;
//   - never reads or writes outside its buffers: every read goes through a Reader (or a bounded
//     view of one) whose reads fail past the end instead of running on;
//   - never hangs: every loop is bounded by the bytes that remain or by a count that was checked
//     against a cap, and playback of whatever it loaded terminates its per-tick work;
//   - computes every size taken from the file in 64 bits, and checks it against the bytes that
//     remain and against the cap below before anything is allocated from it.
//
// A format that is specified to read on past a short file keeps doing so: the XM loader loads a
// module cut short inside its sample data with silence where the data is missing. Its sizes are
// still checked, so the silence it allocates is bounded by the file, not by what a header claims.
//
// Failing is always allowed where a file is damaged; changing what a valid file loads to is not.
//
// The caps: what the show could ever need, far beyond any real file, and small enough that a
// lying header cannot exhaust memory. A fuzzing build (DEMO_FUZZ_CAPS) lowers them so that each
// input runs in microseconds; the logic around them stays the same.

#include <cstdint>

namespace demo {

struct LoaderCaps {
#ifdef DEMO_FUZZ_CAPS
  static constexpr uint32_t memberBytes = 1u << 20;
  static constexpr uint32_t imageSide = 256;
  static constexpr uint32_t sampleFrames = 1u << 16;
#else
  // One archive member after decompression: 1 GiB.
  static constexpr uint32_t memberBytes = 1u << 30;
  // Width and height of a TGA image: 16384 x 16384 pixels (1 GiB of 32-bit pixels at most).
  static constexpr uint32_t imageSide = 16384;
  // Frames of one XM sample (the format's own limits bound everything else in a module: 256
  // patterns of up to 256 rows, 32 channels, 128 instruments of 16 samples, 12 envelope points).
  static constexpr uint32_t sampleFrames = 1u << 30;
#endif
};

}  // namespace demo
