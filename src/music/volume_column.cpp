// The volume column: volumes, slides, vibrato, panning and tone portamento by its high nibble.

#include <algorithm>

#include "music/player_internal.h"

namespace demo {
namespace {

void slideVolumeDown(Channel& ch, int32_t y) {
  ch.volume = std::max(ch.volume - y, 0);
  ch.updates |= UpdateVolume;
}

void slideVolumeUp(Channel& ch, int32_t y) {
  ch.volume = std::min(ch.volume + y, 64);
  ch.updates |= UpdateVolume;
}

void slidePan(Channel& ch, int32_t delta) {
  ch.pan += delta;  // not clamped here; the voice update clamps the final panning
  ch.updates |= UpdatePanning;
}

}  // namespace

void volumeColumnRow(TickContext& c) {
  Channel& ch = c.channel;
  const uint8_t v = c.cell.volume;
  const int32_t y = v & 15;
  if (v >= 0x10 && v <= 0x50) {
    ch.volume = v - 16;
    ch.updates |= UpdateVolume;
    return;
  }
  switch (v >> 4) {
    case 0x6:
    case 0x8: slideVolumeDown(ch, y); break;
    case 0x7:
    case 0x9: slideVolumeUp(ch, y); break;
    case 0xA: ch.vibratoSpeed = static_cast<uint8_t>(y); break;
    case 0xB: ch.vibratoDepth = static_cast<uint8_t>(y); break;
    case 0xC:
      ch.pan = y * 16;
      ch.updates |= UpdatePanning;
      break;
    case 0xD: slidePan(ch, -y); break;
    case 0xE: slidePan(ch, y); break;
    case 0xF:
      if (y != 0) ch.tonePortaSpeed = static_cast<uint8_t>(y * 16);
      ch.portaTarget = ch.notePeriod;
      ch.updates &= static_cast<uint8_t>(~UpdateTrigger);
      break;
    default: break;
  }
}

void volumeColumnTick(TickContext& c) {
  Channel& ch = c.channel;
  const uint8_t v = c.cell.volume;
  const int32_t y = v & 15;
  switch (v >> 4) {
    case 0x6: slideVolumeDown(ch, y); break;
    case 0x7: slideVolumeUp(ch, y); break;
    case 0xB:
      ch.vibratoDepth = static_cast<uint8_t>(y);
      vibrato(ch);
      advanceVibrato(ch);
      break;
    case 0xD: slidePan(ch, -y); break;
    case 0xE: slidePan(ch, y); break;
    case 0xF: tonePortaStep(ch); break;
    default: break;
  }
}

}  // namespace demo
