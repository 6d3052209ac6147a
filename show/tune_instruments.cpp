#include "tune_instruments.h"

#include <algorithm>
#include <cmath>

namespace demo::show {
namespace {

constexpr double Pi = 3.141592653589793;
// A looped waveform of 64 samples per cycle played at note C-4 sounds C-4 when it is an octave
// above the format's 8363 Hz base.
constexpr int CyclePeriod = 64;
constexpr int8_t CycleRelativeNote = 12;
// Drums are synthesised at four times the base rate (two octaves up) and played at C-4.
constexpr double DrumRate = 8363.0 * 4;
constexpr int8_t DrumRelativeNote = 24;

int16_t toSample(double v) { return static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32000.0)); }

// Deterministic white noise in -1..1.
class Noise {
 public:
  double next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
  }

 private:
  uint32_t state_ = 12345;
};

XmEnvelope envelope(std::vector<std::pair<uint16_t, uint16_t>> points, int sustain = -1) {
  XmEnvelope e;
  e.points = std::move(points);
  e.on = true;
  if (sustain >= 0) {
    e.sustainOn = true;
    e.sustain = static_cast<uint8_t>(sustain);
  }
  return e;
}

XmInstrument oneShot(const char* name, std::vector<int16_t> data, uint8_t volume) {
  XmSample sample;
  sample.name = name;
  sample.data = std::move(data);
  sample.bits = 16;
  sample.volume = volume;
  sample.relativeNote = DrumRelativeNote;
  XmInstrument instrument;
  instrument.name = name;
  instrument.samples = {sample};
  return instrument;
}

XmInstrument looped(const char* name, std::vector<int16_t> data, uint8_t volume, XmEnvelope volumeEnvelope,
                    uint16_t fadeout) {
  XmSample sample;
  sample.name = name;
  sample.loopLength = static_cast<uint32_t>(data.size());
  sample.data = std::move(data);
  sample.bits = 16;
  sample.loop = XmLoop::Forward;
  sample.volume = volume;
  sample.relativeNote = CycleRelativeNote;
  XmInstrument instrument;
  instrument.name = name;
  instrument.samples = {sample};
  instrument.volumeEnvelope = std::move(volumeEnvelope);
  instrument.fadeout = fadeout;
  return instrument;
}

std::vector<int16_t> kick() {
  std::vector<int16_t> out;
  double phase = 0;
  for (int i = 0; i < static_cast<int>(DrumRate * 0.35); ++i) {
    const double t = i / DrumRate;
    const double frequency = 45 + 130 * std::exp(-t * 28);  // the thump: a fast downward sweep
    phase += 2 * Pi * frequency / DrumRate;
    const double click = i < 60 ? (1 - i / 60.0) * 0.5 : 0;
    out.push_back(toSample((std::sin(phase) * std::exp(-t * 9) + click) * 0.95));
  }
  return out;
}

std::vector<int16_t> snare() {
  std::vector<int16_t> out;
  Noise noise;
  double lowpass = 0;
  for (int i = 0; i < static_cast<int>(DrumRate * 0.25); ++i) {
    const double t = i / DrumRate;
    lowpass += (noise.next() - lowpass) * 0.55;
    const double body = std::sin(2 * Pi * 185 * t) * std::exp(-t * 30);
    out.push_back(toSample((lowpass * 0.8 * std::exp(-t * 14) + body * 0.6) * 0.9));
  }
  return out;
}

std::vector<int16_t> hiHat() {
  std::vector<int16_t> out;
  Noise noise;
  double previous = 0;
  for (int i = 0; i < static_cast<int>(DrumRate * 0.08); ++i) {
    const double n = noise.next();
    const double high = n - previous;  // a first difference keeps only the hiss
    previous = n;
    out.push_back(toSample(high * 0.5 * std::exp(-i / DrumRate * 45)));
  }
  return out;
}

// One cycle of a sawtooth softened by a one-pole low-pass run around the loop until it settles.
std::vector<int16_t> softSaw(double smoothing) {
  std::vector<double> wave(CyclePeriod);
  for (int i = 0; i < CyclePeriod; ++i) wave[i] = 1.0 - 2.0 * i / CyclePeriod;
  double state = 0;
  std::vector<int16_t> out(CyclePeriod);
  for (int pass = 0; pass < 4; ++pass)
    for (int i = 0; i < CyclePeriod; ++i) {
      state += (wave[i] - state) * smoothing;
      if (pass == 3) out[i] = toSample(state * 0.8);
    }
  return out;
}

// Two saws an eighth of a tone apart (64 and 65 cycles in one loop) beat slowly like a string pad.
std::vector<int16_t> chorusPad() {
  constexpr int Cycles = 64, Length = Cycles * CyclePeriod;
  std::vector<int16_t> out;
  double state = 0;
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < Length; ++i) {
      const double a = std::fmod(static_cast<double>(i) * Cycles / Length, 1.0);
      const double b = std::fmod(static_cast<double>(i) * (Cycles + 1) / Length, 1.0);
      state += ((1 - 2 * a) + (1 - 2 * b) - state) * 0.25;
      if (pass == 1) out.push_back(toSample(state * 0.4));
    }
  return out;
}

std::vector<int16_t> pulse(double width) {
  std::vector<int16_t> out;
  for (int i = 0; i < CyclePeriod; ++i) out.push_back(toSample(i < CyclePeriod * width ? 0.6 : -0.6));
  return out;
}

// Saw plus a third-harmonic sine: bright but not buzzing.
std::vector<int16_t> leadWave() {
  std::vector<int16_t> out;
  for (int i = 0; i < CyclePeriod; ++i) {
    const double x = static_cast<double>(i) / CyclePeriod;
    out.push_back(toSample((std::sin(2 * Pi * x) * 0.6 + std::sin(6 * Pi * x) * 0.2 + (1 - 2 * x) * 0.25) * 0.9));
  }
  return out;
}

}  // namespace

std::vector<XmInstrument> tuneInstruments() {
  XmInstrument lead = looped("lead", leadWave(), 44, envelope({{0, 0}, {2, 64}, {10, 50}, {40, 42}}, 3), 900);
  // A little delayed automatic vibrato makes held notes sing; the effect column adds more.
  lead.vibratoType = 0;
  lead.vibratoSweep = 40;
  lead.vibratoDepth = 3;
  lead.vibratoRate = 10;
  return {
      oneShot("kick", kick(), 64),
      oneShot("snare", snare(), 50),
      oneShot("hihat", hiHat(), 40),
      looped("bass", softSaw(0.35), 50, envelope({{0, 64}, {6, 48}, {30, 36}}, 2), 2000),
      looped("pad", chorusPad(), 40, envelope({{0, 0}, {30, 56}, {60, 48}}, 2), 300),
      looped("pluck", pulse(0.25), 26, envelope({{0, 64}, {4, 30}, {12, 10}, {24, 0}}), 3000),
      lead,
  };
}

}  // namespace demo::show
