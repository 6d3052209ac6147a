#pragma once
// The 32-voice software mixer: linear interpolation of 16-bit sample data to the output rate, two
// gains per voice with 512-frame ramps, summed into interleaved float frames. Runs are cut at loop
// boundaries and ramp ends beforehand, so nothing is decided per output frame.

#include <array>
#include <cstdint>

#include "music/module.h"
#include "music/voice.h"

namespace demo {

// Which frame loops mix. All give the same bits (the scalar loops are the reference); the fastest
// the build and the processor can run is chosen when the mixer is made.
enum class MixPath : uint8_t { Scalar, Sse2, Avx2 };

class Mixer {
 public:
  static constexpr int VoiceCount = MaxChannels;

  Mixer();

  // Output rate, ramp length (rate x 128 / 11025: 512 frames at 44100 Hz) and its reciprocal;
  // zeroes every voice.
  void configure(int32_t rate);
  // Every voice silent and zeroed; voice i keeps index i and step 1.0.
  void resetVoices();

  // The fastest path here; setPath falls back to it from one this machine cannot run.
  static MixPath fastestPath();
  static bool runs(MixPath path);
  void setPath(MixPath path) { path_ = runs(path) ? path : fastestPath(); }
  MixPath path() const { return path_; }

  int32_t rate() const { return rate_; }
  int32_t rampLength() const { return rampLength_; }
  Voice& voice(int index) { return voices_[index]; }
  const Voice& voice(int index) const { return voices_[index]; }

  // Stores the frequency; the step comes from max(frequency, 100) as a 32.32 value.
  void setVoicePitch(Voice& voice, int32_t frequency) const;
  // Adds voices 0..31 into frameCount interleaved stereo frames of buffer; frameCount <= 0 does nothing.
  void mixVoices(float* buffer, int32_t frameCount);

 private:
  void mixVoice(Voice& voice, float* out, int32_t frames);
  void startRampIfChanged(Voice& voice) const;
  uint64_t mixSteady(bool backward, const int16_t* data, uint64_t position, uint64_t step, float* out,
                     int32_t frames, float gainFirst, float gainSecond) const;
  uint64_t mixRamp(bool backward, const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
                   float& gainFirst, float& gainSecond, float stepFirst, float stepSecond) const;

  std::array<Voice, VoiceCount> voices_{};
  int32_t rate_ = 44100;
  int32_t rampLength_ = 512;
  float rampReciprocal_ = 1.0f / 512;
  MixPath path_ = MixPath::Scalar;
};

// Rounds each of the 2 x frameCount floats to the nearest integer (ties to even) and clips it to
// -32768..32767. frameCount <= 0 or a null pointer does nothing.
void convertBlock(int16_t* destination, const float* source, int32_t frameCount);

}  // namespace demo
