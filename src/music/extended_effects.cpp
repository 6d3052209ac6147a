// Exy: the extended effects, chosen by x.

#include <algorithm>

#include "music/player_internal.h"

namespace demo {
namespace {

constexpr uint8_t RowUpdates = UpdatePitch | UpdateVolume | UpdatePanning | UpdateTrigger;

void remember(uint8_t& memory, uint8_t value) {
  if (value != 0) memory = value;
}

void patternLoop(TickContext& c) {
  Channel& ch = c.channel;
  Module& m = c.module;
  if (c.y() == 0) {
    ch.loopRow = m.row;
    return;
  }
  ch.loopCount = ch.loopCount == 0 ? c.y() : ch.loopCount - 1;
  if (ch.loopCount != 0) m.row = ch.loopRow - 1;  // the ordinary advance then lands on loopRow
}

void noteDelayRow(Channel& ch) {
  ch.period = ch.delayedPeriod;
  ch.volume = ch.delayedVolume;
  ch.pan = ch.delayedPan;
  ch.updates &= static_cast<uint8_t>(~RowUpdates);
}

void noteDelayTick(TickContext& c) {
  Channel& ch = c.channel;
  if (c.module.tick != c.y()) {
    ch.updates &= static_cast<uint8_t>(~RowUpdates);
    return;
  }
  instrumentReset(c);
  ch.period = ch.notePeriod;
  ch.updates |= UpdatePitch;
  if (c.cell.volume) volumeColumnRow(c);
  ch.updates |= UpdateTrigger;
}

}  // namespace

void extendedRowEffect(TickContext& c) {
  Channel& ch = c.channel;
  const uint8_t y = c.y();
  switch (c.x()) {
    case 0x1:
      remember(ch.finePortaUpMemory, y);
      slidePeriod(ch, -ch.finePortaUpMemory * 4);
      break;
    case 0x2:
      remember(ch.finePortaDownMemory, y);
      slidePeriod(ch, ch.finePortaDownMemory * 4);
      break;
    case 0x4: ch.waveControl = static_cast<uint8_t>((ch.waveControl & 0xF0) | y); break;
    case 0x5: c.sample->finetune = static_cast<int8_t>(y); break;
    case 0x6: patternLoop(c); break;
    case 0x7: ch.waveControl = static_cast<uint8_t>((ch.waveControl & 0x0F) | y << 4); break;
    case 0x8:
      ch.pan = y * 16;
      ch.updates |= UpdatePanning;
      break;
    case 0xA:
      remember(ch.fineVolumeMemory, y);
      ch.volume = std::min(ch.volume + ch.fineVolumeMemory, 64);
      ch.updates |= UpdateVolume;
      break;
    case 0xB:
      remember(ch.fineVolumeMemory, y);
      ch.volume = std::max(ch.volume - ch.fineVolumeMemory, 0);
      ch.updates |= UpdateVolume;
      break;
    case 0xD: noteDelayRow(ch); break;
    case 0xE: c.module.patternDelayTicks = y * c.module.speed; break;
    default: break;  // E0x, E3x, EFx do nothing; E9x and ECx act on effect ticks
  }
}

void extendedTickEffect(TickContext& c) {
  Channel& ch = c.channel;
  const uint8_t y = c.y();
  switch (c.x()) {
    case 0x9:
      if (y != 0 && c.module.tick % y == 0) ch.updates |= UpdatePitch | UpdateVolume | UpdateTrigger;
      break;
    case 0xC:
      // The row tick is tick 0, so EC0 never cuts.
      if (c.module.tick == y) {
        ch.volume = 0;
        ch.updates |= UpdateVolume;
      }
      break;
    case 0xD: noteDelayTick(c); break;  // ED0 never fires: its note is never played
    default: break;
  }
}

}  // namespace demo
