#pragma once
// XM bytes loaded through the music loader's own file operations (a Reader per open, exactly as the
// archive's stream callbacks give it), and a stretch of playback: ticks of the pattern player with
// the mixer running between them. For the damage sweep and the XM fuzz target.

#include <cstdint>
#include <memory>
#include <span>

#include "music/module.h"

namespace demo::test {

// The module, or null when the loader refuses the bytes. The first form reads a copy of exactly
// their size, the second reads the buffer itself.
std::unique_ptr<Module> loadModuleFromBytes(std::span<const uint8_t> bytes);
std::unique_ptr<Module> loadModuleFromBytes(std::unique_ptr<uint8_t[]> bytes, uint32_t size);

// Resets playback and plays `ticks` ticks, mixing `framesPerTick` frames after each at 44100 Hz
// and converting them to 16-bit, as the audio output's block renderer does.
void playTicks(Module& module, int ticks, int32_t framesPerTick);

}  // namespace demo::test
