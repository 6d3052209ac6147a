#pragma once
// What one channel's part of a tick works on, shared by the player's source files.

#include <cstdint>

#include "music/channel.h"
#include "music/mixer.h"
#include "music/module.h"

namespace demo {

enum Effect : uint8_t {
  EffectArpeggio = 0x0,
  EffectPortaUp = 0x1,
  EffectPortaDown = 0x2,
  EffectTonePorta = 0x3,
  EffectVibrato = 0x4,
  EffectTonePortaVolumeSlide = 0x5,
  EffectVibratoVolumeSlide = 0x6,
  EffectTremolo = 0x7,
  EffectSetPanning = 0x8,
  EffectSampleOffset = 0x9,
  EffectVolumeSlide = 0xA,
  EffectPositionJump = 0xB,
  EffectSetVolume = 0xC,
  EffectPatternBreak = 0xD,
  EffectExtended = 0xE,
  EffectSpeedTempo = 0xF,
  EffectGlobalVolume = 16,       // G
  EffectGlobalVolumeSlide = 17,  // H
  EffectKeyOff = 20,             // K
  EffectEnvelopePosition = 21,   // L
  EffectPanningSlide = 25,       // P
  EffectMultiRetrigger = 27,     // R
  EffectTremor = 29,             // T
  EffectExtraFinePorta = 33,     // X
};

constexpr uint8_t VolumeColumnTonePorta = 0xF0;

// A row's flags shared by its channels.
struct RowState {
  bool jumpSeen = false;  // a B effect in an earlier channel of this row
};

struct TickContext {
  Module& module;
  Mixer& mixer;
  Channel& channel;
  const Cell& cell;
  RowState& row;
  const Instrument* instrument = nullptr;
  Sample* sample = nullptr;  // writable: E5x sets its finetune

  uint8_t x() const { return cell.parameter >> 4; }
  uint8_t y() const { return cell.parameter & 15; }
};

// The channel's instrument (or the module's empty one) and the sample its note maps to.
void lookUpInstrument(TickContext& c);
void instrumentReset(TickContext& c);

void rowEffect(TickContext& c);
void tickEffect(TickContext& c);
void extendedRowEffect(TickContext& c);
void extendedTickEffect(TickContext& c);
void volumeColumnRow(TickContext& c);
void volumeColumnTick(TickContext& c);

// Effect building blocks.
void vibrato(Channel& ch);
void advanceVibrato(Channel& ch);
void tremolo(Channel& ch);
void tremorStep(Channel& ch);
void tonePortaStep(Channel& ch);
void volumeSlide(Channel& ch);
void slidePeriod(Channel& ch, int32_t delta);
void fadeOut(TickContext& c);
void autoVibrato(TickContext& c);

// Writes the channel's pitch, level, panning, trigger and stop into its voice (end of every tick).
void updateVoice(TickContext& c);

}  // namespace demo
