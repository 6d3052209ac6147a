#pragma once
// What the timeline asks of the music: load, start, free, close, and the clock. AudioOutput is the
// real one; timeline tests drive a scripted one.

#include <cstdint>

#include "music/module_loader.h"

namespace demo {

struct Module;

class MusicPlayer {
 public:
  virtual ~MusicPlayer() = default;

  // Registers the music file operations and opens 44100 Hz output; false when that fails.
  virtual bool openAudioOutput() = 0;
  // The module, or null when it cannot be loaded.
  virtual Module* loadModule(const char* name) = 0;
  // Why the last loadModule gave null (None when the player cannot tell).
  virtual ModuleProblem loadProblem() const { return ModuleProblem::None; }
  // Renders the whole ring, starts the device and the output thread. False for a null module.
  virtual bool startModule(Module* module) = 0;
  // Waits for a block being rendered, stops playback, frees the module. Null is ignored.
  virtual void freeModule(Module* module) = 0;
  // Resets and closes the wave output.
  virtual void closeDevice() = 0;
  // Music time in milliseconds at the end of the block being played.
  virtual uint32_t musicTime() = 0;
};

}  // namespace demo
