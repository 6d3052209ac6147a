// The show's tune as the engine loads and plays it.

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "archive/reader.h"
#include "music/module_loader.h"
#include "music/player.h"
#include "showcase_files.h"
#include "xmrender/song_loop.h"

namespace demo::test {
namespace {

class ShowTune : public ::testing::Test {
 protected:
  void SetUp() override {
    MusicFileOps ops;
    setMusicFileOps(ops, streamOpen, streamClose, streamRead, streamSeek, streamTell);
    module = loadModule(ops, (showcaseData() / "showcase.xm").c_str());
    ASSERT_TRUE(module) << "the loader refuses the tune";
  }

  // Effect numbers of every cell of the patterns the order list plays, arpeggio only with a parameter.
  std::set<int> effectsPlayed() const {
    std::set<int> effects;
    for (int order = 0; order < module->songLength; ++order) {
      const Pattern& pattern = module->patternAt(order);
      for (int i = 0; i < pattern.rows * module->channelCount; ++i) {
        const Cell& cell = pattern.cells[i];
        if (cell.effect != 0 || cell.parameter != 0) effects.insert(cell.effect);
      }
    }
    return effects;
  }

  std::unique_ptr<Module> module;
};

TEST_F(ShowTune, HasEightChannelsOrMoreAndSynthesisedInstrumentsWithEnvelopes) {
  EXPECT_GE(module->channelCount, 8);
  ASSERT_GE(module->instrumentCount, 5);
  int enveloped = 0;
  for (int i = 0; i < module->instrumentCount; ++i) {
    const Instrument& instrument = module->instruments[i];
    ASSERT_GT(instrument.samples[0]->length, 0u) << "instrument " << i + 1 << " has no sound";
    enveloped += (instrument.volumeType & EnvelopeOn) ? 1 : 0;
  }
  EXPECT_GE(enveloped, 3);
}

TEST_F(ShowTune, UsesTheCommonEffects) {
  const std::set<int> played = effectsPlayed();
  // Arpeggio, portamento up, down and to a note, vibrato, panning, volume slide, pattern break.
  for (int effect : {0x0, 0x1, 0x2, 0x3, 0x4, 0x8, 0xA, 0xD}) EXPECT_TRUE(played.count(effect)) << "effect " << effect;
}

// Played by the real player tick by tick, without mixing: how long until an order position comes round.
TEST_F(ShowTune, PlaysAMinuteOrMoreBeforeItComesRound) {
  Mixer mixer;
  mixer.configure(44100);
  Channels channels{};
  resetPlayback(*module, channels, mixer);
  xmrender::SongLoop loop;
  uint64_t frame = 0;
  constexpr uint64_t TenMinutes = 600ull * 44100;
  while (frame < TenMinutes) {
    loop.beforeTick(*module, frame);
    if (loop.loopFrame()) break;
    playTick(*module, channels, mixer);
    frame += static_cast<uint64_t>(module->samplesPerTick);
  }
  ASSERT_TRUE(loop.loopFrame()) << "the song never comes round";
  EXPECT_GE(*loop.loopFrame(), 60ull * 44100) << *loop.loopFrame() / 44100.0 << " s";
}

}  // namespace
}  // namespace demo::test
