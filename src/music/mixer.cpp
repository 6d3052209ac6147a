#include "music/mixer.h"

#include <cmath>

#include "music/mix_kernels.h"

namespace demo {
namespace {

constexpr int32_t MinimumFrequency = 100;

uint64_t packPosition(uint32_t integer, uint32_t fraction) { return static_cast<uint64_t>(integer) << 32 | fraction; }

// Frames until the run crosses the end of the loop (forward) or passes below its start (backward),
// when that lies within limit frames; above limit otherwise. Exact 64-bit division: a quotient that
// came out one too large would mix a frame beyond the guard sample. Backward, reaching loopStart
// exactly is still inside the loop, so the crossing is the first frame below it. Most runs end
// before the boundary, which one multiplication shows without dividing.
uint64_t framesToBoundary(const Voice& voice, uint64_t position, uint64_t step, int32_t limit) {
  const Sample& sample = *voice.sample;
  uint64_t reach = 0;  // how far limit frames go
  const bool overflows = __builtin_mul_overflow(step, static_cast<uint64_t>(limit), &reach);
  if (voice.direction == DirectionBackward) {
    const uint64_t start = packPosition(sample.loopStart, 0);
    const uint64_t distance = position > start ? position - start : 0;
    if (!overflows && distance >= reach) return static_cast<uint64_t>(limit) + 1;  // floor(d / s) + 1 > limit
    return distance / step + 1;
  }
  const uint64_t end = packPosition(sample.loopEnd(), 0);
  const uint64_t distance = position < end ? end - position : 0;
  if (!overflows && distance > reach) return static_cast<uint64_t>(limit) + 1;  // ceil(d / s) > limit
  return distance / step + (distance % step != 0);
}

// Reflects a position that crossed an end of a ping-pong loop back into it. Seen from the loop
// start, motion through a ping-pong loop repeats every two loop lengths: unfolded distance u runs
// forward through the loop for u < L and backward (mirrored, one unit short of the end) for u >= L.
// Folding u modulo 2L handles steps longer than the loop as well as the usual single reflection.
void reflect(Voice& voice, uint64_t& position) {
  const Sample& sample = *voice.sample;
  const uint64_t start = packPosition(sample.loopStart, 0);
  const uint64_t length = packPosition(sample.loopLength, 0);
  uint64_t unfolded = voice.direction == DirectionBackward ? 2 * length - 1 + (start - position) : position - start;
  unfolded %= 2 * length;
  if (unfolded < length) {
    position = start + unfolded;
    voice.direction = DirectionForward;
  } else {
    position = start + (2 * length - 1 - unfolded);
    voice.direction = DirectionBackward;
  }
}

// What happens at the boundary a run stopped at. False when the voice stopped.
bool crossBoundary(Voice& voice, uint64_t& position) {
  const Sample& sample = *voice.sample;
  if (sample.loopLength == 0) {
    // Only a hand-made sample can get here (the loader turns empty loops into none): it ends.
  } else if (sample.loopKind == LoopForward) {
    // Past the end by less than a loop length, as usual: one subtraction does what the remainder does.
    const uint64_t start = packPosition(sample.loopStart, 0), length = packPosition(sample.loopLength, 0);
    const uint64_t beyond = position - start - length;
    position = start + (beyond < length ? beyond : beyond % length);
    return true;
  } else if (sample.loopKind == LoopPingPong) {
    reflect(voice, position);
    return true;
  }
  voice.sample = nullptr;
  voice.position = voice.fraction = 0;
  return false;
}

// The gain a ramp reached, x 255 x 256, rounded. Float steps can carry a gain falling to 0 a hair
// below it; that must not wrap the unsigned value.
uint32_t appliedGain(float gain) {
  const long value = std::lrint(gain * 255.0f * 256.0f);
  return value > 0 ? static_cast<uint32_t>(value) : 0;
}

}  // namespace

Mixer::Mixer() : path_(fastestPath()) {}

bool Mixer::runs(MixPath path) {
  switch (path) {
    case MixPath::Scalar: return true;
#ifdef DEMO_MIX_SSE2
    case MixPath::Sse2: return true;
#endif
#ifdef DEMO_MIX_AVX2
    case MixPath::Avx2: return mix::avx2Available();
#endif
    default: return false;
  }
}

MixPath Mixer::fastestPath() {
  for (MixPath path : {MixPath::Avx2, MixPath::Sse2}) {
    if (runs(path)) return path;
  }
  return MixPath::Scalar;
}

uint64_t Mixer::mixSteady(bool backward, const int16_t* data, uint64_t position, uint64_t step, float* out,
                          int32_t frames, float gainFirst, float gainSecond) const {
  switch (path_) {
#ifdef DEMO_MIX_AVX2
    case MixPath::Avx2: return mix::steadyAvx2(backward, data, position, step, out, frames, gainFirst, gainSecond);
#endif
#ifdef DEMO_MIX_SSE2
    case MixPath::Sse2:
      return backward ? mix::steadySse2<true>(data, position, step, out, frames, gainFirst, gainSecond)
                      : mix::steadySse2<false>(data, position, step, out, frames, gainFirst, gainSecond);
#endif
    default:
      return backward ? mix::steadyScalar<true>(data, position, step, out, frames, gainFirst, gainSecond)
                      : mix::steadyScalar<false>(data, position, step, out, frames, gainFirst, gainSecond);
  }
}

uint64_t Mixer::mixRamp(bool backward, const int16_t* data, uint64_t position, uint64_t step, float* out,
                        int32_t frames, float& gainFirst, float& gainSecond, float stepFirst, float stepSecond) const {
#ifdef DEMO_MIX_AVX2
  if (path_ == MixPath::Avx2) {
    return mix::rampAvx2(backward, data, position, step, out, frames, gainFirst, gainSecond, stepFirst, stepSecond);
  }
#endif
  return backward ? mix::rampScalar<true>(data, position, step, out, frames, gainFirst, gainSecond, stepFirst,
                                          stepSecond)
                  : mix::rampScalar<false>(data, position, step, out, frames, gainFirst, gainSecond, stepFirst,
                                           stepSecond);
}

void Mixer::configure(int32_t rate) {
  rate_ = rate;
  rampLength_ = rate * 128 / 11025;
  if (rampLength_ < 1) rampLength_ = 1;
  rampReciprocal_ = 1.0f / static_cast<float>(rampLength_);
  resetVoices();
}

void Mixer::resetVoices() {
  for (int i = 0; i < VoiceCount; ++i) {
    voices_[i] = Voice{};
    voices_[i].index = i;
  }
}

void Mixer::setVoicePitch(Voice& voice, int32_t frequency) const {
  voice.frequency = frequency;
  const uint32_t f = static_cast<uint32_t>(frequency < MinimumFrequency ? MinimumFrequency : frequency);
  const uint32_t rate = static_cast<uint32_t>(rate_);
  voice.stepInteger = f / rate;
  voice.stepFraction = static_cast<uint32_t>((static_cast<uint64_t>(f % rate) << 32) / rate);
}

// A ramp keeps running while the targets stay; any new target (or the first run after a trigger,
// which zeroes the applied gains) starts a full ramp from the gains reached so far.
void Mixer::startRampIfChanged(Voice& voice) const {
  if (voice.rampLeft != 0 && voice.gainFirst == voice.lastGainFirst && voice.gainSecond == voice.lastGainSecond) return;
  voice.lastGainFirst = voice.gainFirst;
  voice.lastGainSecond = voice.gainSecond;
  const int32_t dFirst = voice.gainFirst - static_cast<int32_t>(voice.currentFirst >> 8);
  const int32_t dSecond = voice.gainSecond - static_cast<int32_t>(voice.currentSecond >> 8);
  voice.rampStepFirst = dFirst ? static_cast<float>(dFirst) / 255.0f * rampReciprocal_ : 0.0f;
  voice.rampStepSecond = dSecond ? static_cast<float>(dSecond) / 255.0f * rampReciprocal_ : 0.0f;
  if (dFirst != 0 || dSecond != 0) voice.rampLeft = rampLength_;
}

void Mixer::mixVoices(float* buffer, int32_t frameCount) {
  if (frameCount <= 0) return;
  for (Voice& voice : voices_) {
    if (voice.sample) mixVoice(voice, buffer, frameCount);
  }
}

void Mixer::mixVoice(Voice& voice, float* out, int32_t frames) {
  const uint64_t step = packPosition(voice.stepInteger, voice.stepFraction);
  uint64_t position = packPosition(voice.position, voice.fraction);
  while (voice.sample && frames >= 0) {
    int32_t todo = frames;
    bool atBoundary = false;
    const uint64_t toBoundary = framesToBoundary(voice, position, step, todo);
    if (toBoundary <= static_cast<uint64_t>(todo)) {
      todo = static_cast<int32_t>(toBoundary);
      atBoundary = true;
    }
    startRampIfChanged(voice);
    bool cutByRamp = false;
    if (voice.rampLeft != 0 && voice.rampLeft < todo) {
      todo = voice.rampLeft;
      cutByRamp = true;
      atBoundary = false;
    }
    if (!atBoundary && todo == 0) break;

    const int16_t* data = voice.sample->data.get();
    const bool backward = voice.direction == DirectionBackward;
    if (todo > 0 && voice.rampLeft != 0) {
      float a = static_cast<float>(voice.currentFirst) / 256.0f / 255.0f;
      float b = static_cast<float>(voice.currentSecond) / 256.0f / 255.0f;
      position = mixRamp(backward, data, position, step, out, todo, a, b, voice.rampStepFirst, voice.rampStepSecond);
      voice.currentFirst = appliedGain(a);
      voice.currentSecond = appliedGain(b);
      voice.rampLeft -= todo;
      if (voice.rampLeft == 0) {
        voice.rampStepFirst = voice.rampStepSecond = 0;
        voice.currentFirst = static_cast<uint32_t>(voice.gainFirst) * 256;
        voice.currentSecond = static_cast<uint32_t>(voice.gainSecond) * 256;
      }
    } else if (todo > 0 && (voice.gainFirst != 0 || voice.gainSecond != 0)) {
      const float a = static_cast<float>(voice.gainFirst) / 255.0f;
      const float b = static_cast<float>(voice.gainSecond) / 255.0f;
      position = mixSteady(backward, data, position, step, out, todo, a, b);
    } else {
      // Silent and not ramping: adding zeros changes no output value, so only the position moves.
      const uint64_t advance = step * static_cast<uint64_t>(todo);
      position = backward ? position - advance : position + advance;
    }
    out += 2 * todo;
    frames -= todo;
    if (atBoundary && !crossBoundary(voice, position)) return;
    if (!atBoundary && !cutByRamp) break;
  }
  voice.position = static_cast<uint32_t>(position >> 32);
  voice.fraction = static_cast<uint32_t>(position);
}

}  // namespace demo
