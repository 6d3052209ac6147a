// The end of every tick: the channel's state written into its mixer voice.

#include <algorithm>
#include <cstdlib>

#include "music/pitch.h"
#include "music/player_internal.h"

namespace demo {
namespace {

constexpr int64_t MaxVoiceLevel = 127;  // volume 64, envelope 64, no fadeout, global volume 64

// XM panning runs from 0 on the left to 255 on the right, and the first sample of each output frame
// is the left one (WAV, SDL and wave-out alike): the first gain falls as panning grows, the second
// rises with it, so panning 255 plays only on the right as every tracker plays it.
void setTargetGains(Voice& voice) {
  voice.gainFirst = voice.level * (255 - voice.panning) / 255;
  voice.gainSecond = voice.level * voice.panning / 255;
}

void trigger(TickContext& c) {
  Voice& voice = *c.channel.voice;
  voice.sample = c.sample;
  if (voice.startOffset >= c.sample->loopEnd()) voice.startOffset = 0;
  voice.position = voice.startOffset;
  voice.fraction = 0;
  voice.direction = DirectionForward;
  voice.startOffset = 0;
  // Every new note fades in over one ramp.
  voice.currentFirst = voice.currentSecond = 0;
  voice.rampLeft = 0;
}

void updateLevel(TickContext& c) {
  const Channel& ch = c.channel;
  Voice& voice = *ch.voice;
  const int64_t product = int64_t{ch.volume + ch.tremoloDelta} * ch.volumeEnvelope.output * ch.fadeoutLevel *
                          c.module.globalVolume * 255;
  // 0..127 for in-range values. A volume set above 64 (Cxx takes any byte) would make it up to four
  // times full scale, and a negative one would turn the mixer's gain ramps upside down: the level
  // is held to the range a well-formed module reaches.
  const int64_t level = product / (int64_t{1} << 35);
  voice.level = static_cast<int32_t>(std::clamp<int64_t>(level, 0, MaxVoiceLevel));
  voice.levelCopy = voice.level;
  setTargetGains(voice);
}

void updatePanning(TickContext& c) {
  const Channel& ch = c.channel;
  Voice& voice = *ch.voice;
  const int32_t room = (128 - std::abs(ch.pan - 128)) / 32;
  voice.panning = std::clamp(ch.pan + (ch.panningEnvelope.output - 32) * room, 0, 255);
  voice.panCopy = voice.panning;
  setTargetGains(voice);
}

void updatePitch(TickContext& c) {
  const Channel& ch = c.channel;
  const int32_t frequency = c.module.linearFrequencies() ? linearFrequency(ch.period, ch.vibratoDelta)
                                                         : amigaFrequency(ch.period, ch.vibratoDelta);
  c.mixer.setVoicePitch(*ch.voice, frequency);
}

void stop(Voice& voice) {
  voice.sample = nullptr;
  voice.position = voice.fraction = voice.startOffset = 0;
}

}  // namespace

void updateVoice(TickContext& c) {
  Channel& ch = c.channel;
  if (int64_t{ch.period} + ch.vibratoDelta == 0) ch.updates &= static_cast<uint8_t>(~UpdatePitch);
  if (ch.updates & UpdateTrigger) trigger(c);
  if (ch.updates & UpdateVolume) updateLevel(c);
  if (ch.updates & UpdatePanning) updatePanning(c);
  if (ch.updates & UpdatePitch) updatePitch(c);
  if (ch.updates & UpdateStop) stop(*ch.voice);
}

}  // namespace demo
