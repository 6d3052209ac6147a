#pragma once
// Reading and packing a list of input files, on several threads since NRV2B's best level is slow
// (well under 1 MB/s).

#include <cstdint>
#include <functional>
#include <vector>

#include "demo_pack/pack_inputs.h"
#include "demo_pack/pack_writer.h"

namespace demo {

// Input bytes packed so far and in all; called under a lock, from any of the workers.
using PackJobProgress = std::function<void(uint64_t bytesDone, uint64_t bytesTotal)>;

// Packs every input into a member, in the inputs' order. Throws std::runtime_error naming the file
// that could not be read or packed.
std::vector<PackedMember> packInputs(const std::vector<PackInput>& inputs, PackMethod method, unsigned threads,
                                     const PackJobProgress& progress = {});

// A whole file's bytes; throws naming the file.
std::vector<uint8_t> readWholeFile(const std::filesystem::path& path);

}  // namespace demo
