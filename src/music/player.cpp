#include "music/player.h"

#include "music/envelope.h"
#include "music/pitch.h"
#include "music/player_internal.h"

namespace demo {
namespace {

constexpr float TempoFactor = 0.4f;        // single-precision constants of the tempo formula
constexpr float MillisecondFactor = 0.001f;

bool isTonePorta(const Cell& cell) {
  // A tone portamento in the volume column slides like effect 3 rather than jumping to the note
  // without retriggering it, so it is one for the note and instrument too.
  return cell.effect == EffectTonePorta || cell.effect == EffectTonePortaVolumeSlide ||
         cell.volume >= VolumeColumnTonePorta;
}

bool hasNote(const Cell& cell) { return cell.note != 0 && cell.note != NoteKeyOff; }

void stepVolumeEnvelope(TickContext& c) {
  Channel& ch = c.channel;
  if ((c.instrument->volumeType & EnvelopeOn) && !ch.volumeEnvelope.finished) {
    stepEnvelope(ch.volumeEnvelope, volumeEnvelopeOf(*c.instrument), ch.keyOff);
    ch.updates |= UpdateVolume;
  }
}

void stepPanningEnvelope(TickContext& c) {
  Channel& ch = c.channel;
  if ((c.instrument->panningType & EnvelopeOn) && !ch.panningEnvelope.finished) {
    stepEnvelope(ch.panningEnvelope, panningEnvelopeOf(*c.instrument), ch.keyOff);
    ch.updates |= UpdatePanning;
  }
}

void rowTickChannel(TickContext& c) {
  Channel& ch = c.channel;
  const Cell& cell = c.cell;
  const bool tonePorta = isTonePorta(cell);
  if (cell.instrument && !tonePorta) ch.instrument = static_cast<uint8_t>(cell.instrument - 1);
  if (hasNote(cell) && !tonePorta) ch.note = static_cast<uint8_t>(cell.note - 1);
  lookUpInstrument(c);
  ch.delayedPeriod = ch.period;
  ch.delayedVolume = ch.volume;
  ch.delayedPan = ch.pan;
  // After a row with tremolo, the volume keeps the offset of its last tick.
  if (ch.lastEffect == EffectTremolo && cell.effect != EffectTremolo) ch.volume += ch.tremoloDelta;
  ch.tremoloDelta = 0;
  ch.lastEffect = cell.effect;
  ch.updates = 0;
  if (hasNote(cell)) {
    ch.realNote = static_cast<uint8_t>(c.sample->relativeNote + cell.note - 1);
    ch.notePeriod = notePeriod(c.module.linearFrequencies(), ch.realNote, c.sample->finetune);
    if (!tonePorta) ch.period = ch.notePeriod;
    ch.updates = UpdateTrigger;
  }
  ch.vibratoDelta = 0;
  ch.updates |= UpdatePitch | UpdateVolume;
  if (cell.instrument) instrumentReset(c);
  if (cell.volume) volumeColumnRow(c);
  if (cell.note == NoteKeyOff || cell.effect == EffectKeyOff) ch.keyOff = 1;
  if (c.instrument->volumeType & EnvelopeOn) {
    stepVolumeEnvelope(c);
  } else if (ch.keyOff) {
    ch.volumeEnvelope.output = 0;  // no envelope to release: the key-off cuts the note
  }
  stepPanningEnvelope(c);
  if (ch.keyOff) fadeOut(c);
  rowEffect(c);
  autoVibrato(c);
  updateVoice(c);
}

void effectTickChannel(TickContext& c) {
  Channel& ch = c.channel;
  lookUpInstrument(c);
  ch.tremoloDelta = 0;
  ch.vibratoDelta = 0;
  ch.updates = 0;
  stepVolumeEnvelope(c);
  stepPanningEnvelope(c);
  if (ch.keyOff) fadeOut(c);
  volumeColumnTick(c);
  tickEffect(c);
  autoVibrato(c);
  updateVoice(c);
}

const Cell* cellsOfRow(const Module& module, int32_t row) {
  return module.patternAt(module.order).cells.get() + static_cast<size_t>(row) * module.channelCount;
}

void rowTick(Module& module, Channels& channels, Mixer& mixer) {
  module.nextRow = module.nextOrder = -1;
  module.playingRow = module.row;
  const Cell* cells = cellsOfRow(module, module.playingRow);
  RowState row;
  for (int i = 0; i < module.channelCount; ++i) {
    TickContext c{module, mixer, channels[i], cells[i], row};
    rowTickChannel(c);
  }
}

void effectTick(Module& module, Channels& channels, Mixer& mixer) {
  const Cell* cells = cellsOfRow(module, module.playingRow);
  RowState row;
  for (int i = 0; i < module.channelCount; ++i) {
    TickContext c{module, mixer, channels[i], cells[i], row};
    effectTickChannel(c);
  }
}

}  // namespace

void resetPlayback(Module& module, Channels& channels, Mixer& mixer) {
  // E5x writes finetunes into the samples; a song started again (a seek, a loop) begins with the
  // file's, as its first start did.
  for (int32_t i = 0; i < module.instrumentCount; ++i) {
    const Instrument& instrument = module.instruments[i];
    for (int32_t s = 0; s < instrument.sampleCount && s < MaxSamplesPerInstrument; ++s)
      instrument.samples[s]->finetune = instrument.samples[s]->loadedFinetune;
  }
  module.emptySample.finetune = 0;
  module.speed = module.defaultSpeed;
  module.globalVolume = module.initialGlobalVolume;
  module.globalSlideMemory = 0;
  module.nextRow = module.nextOrder = -1;
  module.row = module.order = module.playingRow = 0;
  module.samplesLeftInTick = 0;
  module.tick = 0;
  module.patternDelayTicks = 0;
  module.timeCounter = 0;
  setTempo(module, module.defaultBpm, mixer.rate());
  mixer.resetVoices();
  for (int i = 0; i < MaxChannels; ++i) {
    channels[i] = Channel{};
    channels[i].voice = &mixer.voice(i);
    channels[i].index = i;
  }
}

void setTempo(Module& module, int32_t bpm, int32_t rate) {
  module.bpm = bpm;
  const double ticks =
      1000.0 / (bpm * static_cast<double>(TempoFactor)) * rate * static_cast<double>(MillisecondFactor);
  module.samplesPerTick = ticks >= 1.0 ? static_cast<int32_t>(ticks) : 1;
}

void playTick(Module& module, Channels& channels, Mixer& mixer) {
  if (module.tick == 0) {
    if (module.nextOrder >= 0) module.order = module.nextOrder;
    if (module.nextRow >= 0) module.row = module.nextRow;
    // A break or loop into a shorter pattern can name a row it does not have: play its first row.
    if (module.row >= module.patternAt(module.order).rows) module.row = 0;
    rowTick(module, channels, mixer);
    if (module.nextRow == -1) {
      module.nextRow = module.row + 1;
      if (module.nextRow >= module.patternAt(module.order).rows) {
        module.nextOrder = module.order + 1 >= module.songLength ? module.restartPosition : module.order + 1;
        module.nextRow = 0;
      }
    }
  } else {
    effectTick(module, channels, mixer);
  }
  module.tick += 1;
  if (module.tick >= module.speed + module.patternDelayTicks) {
    module.tick = 0;
    module.patternDelayTicks = 0;
  }
}

}  // namespace demo
