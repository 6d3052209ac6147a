// The effect column: what each effect does on the row tick and on the effect ticks.

#include <algorithm>

#include "music/envelope.h"
#include "music/pitch.h"
#include "music/player.h"
#include "music/player_internal.h"

namespace demo {
namespace {

constexpr int32_t PortaUpLimit = 56;  // portamento up stops here; down has no limit

void remember(uint8_t& memory, uint8_t value) {
  if (value != 0) memory = value;
}

void sampleOffset(TickContext& c) {
  Channel& ch = c.channel;
  remember(ch.offsetMemory, c.cell.parameter);
  const uint32_t offset = ch.offsetMemory * 256u;
  if (offset >= c.sample->loopEnd()) {
    ch.updates = static_cast<uint8_t>((ch.updates & ~UpdateTrigger) | UpdateStop);
  } else {
    ch.voice->startOffset = offset;
  }
}

void positionJump(TickContext& c) {
  Module& m = c.module;
  m.nextOrder = c.cell.parameter >= m.songLength ? 0 : c.cell.parameter;
  m.nextRow = 0;
  c.row.jumpSeen = true;
}

void patternBreak(TickContext& c) {
  Module& m = c.module;
  const int32_t row = c.x() * 10 + c.y();
  m.nextRow = row > 63 ? 0 : row;
  if (!c.row.jumpSeen) m.nextOrder = m.order + 1;
  if (m.nextOrder >= m.songLength) m.nextOrder = 0;
}

void arpeggio(TickContext& c) {
  Channel& ch = c.channel;
  if (c.cell.parameter == 0) return;
  const int32_t phase = c.module.tick % 3;
  const int32_t semitones = phase == 1 ? c.x() : phase == 2 ? c.y() : 0;
  if (semitones != 0) {
    if (c.module.linearFrequencies()) {
      ch.vibratoDelta = semitones * 64;
    } else {
      ch.vibratoDelta = amigaPeriod(ch.realNote + semitones, c.sample->finetune) -
                        amigaPeriod(ch.realNote, c.sample->finetune);
    }
  }
  ch.updates |= UpdatePitch;
}

void multiRetrigger(TickContext& c) {
  Channel& ch = c.channel;
  if (ch.retrigInterval == 0 || c.module.tick % ch.retrigInterval != 0) return;
  if (ch.retrigVolumeKind != 0) {
    int32_t v = ch.volume;
    switch (ch.retrigVolumeKind) {
      case 1: v -= 1; break;
      case 2: v -= 2; break;
      case 3: v -= 4; break;
      case 4: v -= 8; break;
      case 5: v -= 16; break;
      case 6: v = 2 * v / 3; break;
      case 7: v >>= 1; break;
      case 9: v += 1; break;
      case 10: v += 2; break;
      case 11: v += 4; break;
      case 12: v += 8; break;
      case 13: v += 16; break;
      case 14: v = 3 * v / 2; break;
      case 15: v *= 2; break;
      default: break;
    }
    ch.volume = std::clamp(v, 0, 64);
    ch.updates |= UpdateVolume;
  }
  ch.updates |= UpdateTrigger;
}

void globalVolumeSlide(TickContext& c) {
  Module& m = c.module;
  const int32_t x = m.globalSlideMemory >> 4, y = m.globalSlideMemory & 15;
  if (x != 0) {
    m.globalVolume = std::min(m.globalVolume + x, 64);
  } else if (y != 0) {
    m.globalVolume = std::max(m.globalVolume - y, 0);
  }
}

void panningSlide(Channel& ch) {
  const int32_t x = ch.panSlideMemory >> 4, y = ch.panSlideMemory & 15;
  if (x != 0) {
    ch.pan = std::min(ch.pan + x, 255);
  } else if (y != 0) {
    ch.pan = std::max(ch.pan - y, 0);
  }
  ch.updates |= UpdatePanning;
}

void extraFinePorta(TickContext& c) {
  Channel& ch = c.channel;
  if (c.x() == 1) {
    remember(ch.extraFineUpMemory, c.y());
    slidePeriod(ch, -ch.extraFineUpMemory);
  } else if (c.x() == 2) {
    remember(ch.extraFineDownMemory, c.y());
    slidePeriod(ch, ch.extraFineDownMemory);
  }
}

}  // namespace

void rowEffect(TickContext& c) {
  Channel& ch = c.channel;
  const uint8_t p = c.cell.parameter;
  switch (c.cell.effect) {
    case EffectPortaUp: remember(ch.portaUpMemory, p); break;
    case EffectPortaDown: remember(ch.portaDownMemory, p); break;
    case EffectTonePorta:
      remember(ch.tonePortaSpeed, p);
      ch.portaTarget = ch.notePeriod;
      ch.updates &= static_cast<uint8_t>(~(UpdatePitch | UpdateTrigger));
      break;
    case EffectVibrato:
      remember(ch.vibratoSpeed, c.x());
      remember(ch.vibratoDepth, c.y());
      vibrato(ch);
      break;
    case EffectTonePortaVolumeSlide:
      ch.portaTarget = ch.notePeriod;
      remember(ch.volumeSlideMemory, p);
      ch.updates &= static_cast<uint8_t>(~(UpdatePitch | UpdateTrigger));
      break;
    case EffectVibratoVolumeSlide:
      remember(ch.volumeSlideMemory, p);
      vibrato(ch);
      break;
    case EffectTremolo:
      remember(ch.tremoloSpeed, c.x());
      remember(ch.tremoloDepth, c.y());
      break;
    case EffectSetPanning:
      ch.pan = p;
      ch.updates |= UpdatePanning;
      break;
    case EffectSampleOffset: sampleOffset(c); break;
    case EffectVolumeSlide: remember(ch.volumeSlideMemory, p); break;
    case EffectPositionJump: positionJump(c); break;
    case EffectSetVolume:
      ch.volume = p;  // not clamped: C50 plays louder than 64
      ch.updates |= UpdateVolume;
      break;
    case EffectPatternBreak: patternBreak(c); break;
    case EffectExtended: extendedRowEffect(c); break;
    case EffectSpeedTempo:
      if (p < 32) {
        c.module.speed = p;
      } else {
        setTempo(c.module, p, c.mixer.rate());
      }
      break;
    case EffectGlobalVolume:
      c.module.globalVolume = std::min<int32_t>(p, 64);
      ch.updates |= UpdateVolume;
      break;
    case EffectGlobalVolumeSlide: remember(c.module.globalSlideMemory, p); break;
    case EffectEnvelopePosition:
      if (c.instrument->volumeType & EnvelopeOn) {
        setEnvelopePosition(ch.volumeEnvelope, volumeEnvelopeOf(*c.instrument), p);
      }
      break;
    case EffectPanningSlide:
      if (p != 0) {
        ch.panSlideMemory = p;
        ch.updates |= UpdatePanning;
      }
      break;
    case EffectMultiRetrigger:
      if (p != 0) {
        ch.retrigInterval = c.y();
        ch.retrigVolumeKind = c.x();
      }
      break;
    case EffectTremor:
      if (p != 0) {
        ch.tremorOn = static_cast<uint8_t>(c.x() + 1);
        ch.tremorOff = static_cast<uint8_t>(c.y() + 1);
      }
      tremorStep(ch);
      break;
    case EffectExtraFinePorta: extraFinePorta(c); break;
    default: break;  // K acts through the key-off step; the rest do nothing on the row tick
  }
}

void tickEffect(TickContext& c) {
  Channel& ch = c.channel;
  switch (c.cell.effect) {
    case EffectArpeggio: arpeggio(c); break;
    case EffectPortaUp:
      ch.period = std::max(ch.period - ch.portaUpMemory * 4, PortaUpLimit);
      ch.updates |= UpdatePitch;
      break;
    case EffectPortaDown:
      slidePeriod(ch, ch.portaDownMemory * 4);
      ch.updates |= UpdatePitch;
      break;
    case EffectTonePorta: tonePortaStep(ch); break;
    case EffectVibrato:
      vibrato(ch);
      advanceVibrato(ch);
      break;
    case EffectTonePortaVolumeSlide:
      tonePortaStep(ch);
      volumeSlide(ch);
      break;
    case EffectVibratoVolumeSlide:
      vibrato(ch);
      advanceVibrato(ch);
      volumeSlide(ch);
      break;
    case EffectTremolo: tremolo(ch); break;
    case EffectVolumeSlide: volumeSlide(ch); break;
    case EffectExtended: extendedTickEffect(c); break;
    case EffectGlobalVolumeSlide: globalVolumeSlide(c); break;
    case EffectPanningSlide: panningSlide(ch); break;
    case EffectMultiRetrigger: multiRetrigger(c); break;
    case EffectTremor: tremorStep(ch); break;
    default: break;
  }
}

}  // namespace demo
