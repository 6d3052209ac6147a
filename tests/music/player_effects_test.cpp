// What notes, instruments and effects do to a channel and its voice.

#include <gtest/gtest.h>

#include <vector>

#include "music/pitch.h"
#include "music_fixtures.h"

namespace demo {
namespace {

using test::basicSong;
using test::PlayerRig;

constexpr uint8_t C4 = 49;
constexpr uint8_t KeyOffNote = 97;

TEST(PlayerNotes, ANoteStartsItsSampleAtFullLevel) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  PlayerRig rig(song);
  rig.tick();
  const Voice& v = rig.voice(0);
  EXPECT_EQ(v.sample, rig.module->instruments[0].samples[0]);
  EXPECT_EQ(v.frequency, 8363);
  EXPECT_EQ(v.level, 127);
  EXPECT_EQ(v.panning, 128);
  EXPECT_EQ(v.gainFirst, 127 * (255 - 128) / 255);
  EXPECT_EQ(v.gainSecond, 127 * 128 / 255);
  EXPECT_EQ(v.rampLeft, 0);
  EXPECT_EQ(v.currentFirst, 0u) << "a new note fades in from silence";
}

TEST(PlayerNotes, AnInstrumentBeyondTheModulePlaysTheEmptySample) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 9, 0, 0, 0};
  PlayerRig rig(song);
  rig.tick();
  EXPECT_EQ(rig.voice(0).sample, &rig.module->emptySample);
}

TEST(PlayerNotes, KeyOffWithoutVolumeEnvelopeSilencesAtOnce) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  song.cell(0, 1, 0) = {KeyOffNote, 0, 0, 0, 0};
  PlayerRig rig(song);
  rig.playRow();
  EXPECT_EQ(rig.voice(0).level, 127);
  rig.tick();
  EXPECT_EQ(rig.voice(0).level, 0);
}

TEST(PlayerNotes, KeyOffReleasesTheSustainPointAndStartsTheFadeout) {
  XmSong song = basicSong(1);
  XmInstrument& in = song.instruments[0];
  in.volumeEnvelope = {{{0, 64}, {2, 32}, {10, 0}}, true, true, false, 1, 0, 0};
  in.fadeout = 500;
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  song.cell(0, 2, 0) = {0, 0, 0, 20, 0};  // K: key off by effect
  PlayerRig rig(song);
  rig.playRow();
  rig.playRow();
  EXPECT_EQ(rig.channel(0).volumeEnvelope.output, 32) << "waits on the sustain point";
  EXPECT_EQ(rig.channel(0).fadeoutLevel, 65536);
  rig.tick(3);
  EXPECT_EQ(rig.channel(0).keyOff, 1);
  EXPECT_EQ(rig.channel(0).fadeoutLevel, 65536 - 3 * 1000) << "fadeout is twice the file's value per tick";
  EXPECT_EQ(rig.channel(0).volumeEnvelope.output, 24) << "the envelope moves on towards its last point";
}

TEST(PlayerVolume, SetVolumeAbove64IsKeptButTheLevelStopsAtFullScale) {
  XmSong song = basicSong(2);
  song.cell(0, 0, 0) = {C4, 1, 0, 0xC, 0x50};
  song.cell(0, 0, 1) = {C4, 1, 0, 0xC, 0xFF};
  PlayerRig rig(song);
  rig.tick();
  EXPECT_EQ(rig.channel(0).volume, 80) << "the channel volume is not clamped";
  EXPECT_EQ(rig.voice(0).level, 127) << "80 would give 159";
  EXPECT_EQ(rig.channel(1).volume, 255);
  EXPECT_EQ(rig.voice(1).level, 127) << "255 would give four times full scale";
}

TEST(PlayerVolume, GlobalVolumeScalesTheLevel) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 16, 0x20};  // G20
  PlayerRig rig(song);
  rig.tick();
  EXPECT_EQ(rig.module->globalVolume, 32);
  EXPECT_EQ(rig.voice(0).level, 63);
}

TEST(PlayerVolume, TheRowAfterTremoloKeepsItsLastOffset) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0x30, 0x7, 0x48};  // volume 32, tremolo speed 4 depth 8
  PlayerRig rig(song);
  rig.playRow();
  EXPECT_EQ(rig.channel(0).tremoloDelta, 32) << "positions 0, 4, 8, 12, 16 end at the top of the sine";
  rig.tick();
  EXPECT_EQ(rig.channel(0).volume, 64);
  EXPECT_EQ(rig.channel(0).tremoloDelta, 0);
}

TEST(PlayerVolume, NoteCutAndItsZeroParameter) {
  XmSong song = basicSong(2);
  song.cell(0, 0, 0) = {C4, 1, 0, 0xE, 0xC2};
  song.cell(0, 0, 1) = {C4, 1, 0, 0xE, 0xC0};
  PlayerRig rig(song);
  rig.tick(2);
  EXPECT_EQ(rig.channel(0).volume, 64);
  rig.tick();
  EXPECT_EQ(rig.channel(0).volume, 0) << "cut on tick 2";
  rig.tick(3);
  EXPECT_EQ(rig.channel(1).volume, 64) << "EC0 never cuts: tick 0 is the row tick";
}

TEST(PlayerNoteDelay, TheNoteStartsOnTheGivenTick) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0xE, 0xD3};
  PlayerRig rig(song);
  rig.tick(3);
  EXPECT_EQ(rig.voice(0).sample, nullptr);
  rig.tick();
  EXPECT_NE(rig.voice(0).sample, nullptr);
  EXPECT_EQ(rig.voice(0).frequency, 8363);
}

TEST(PlayerNoteDelay, ZeroSuppressesTheNote) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0xE, 0xD0};
  PlayerRig rig(song);
  rig.playRow();
  EXPECT_EQ(rig.voice(0).sample, nullptr);
}

TEST(PlayerSampleOffset, AnOffsetPastTheEndStopsTheVoice) {
  XmSong song = basicSong(2);
  XmSample longSample = song.instruments[0].samples[0];
  longSample.data.assign(1024, 50);
  longSample.loopLength = 1024;
  song.instruments.push_back(song.instruments[0]);
  song.instruments[1].samples = {longSample};
  song.cell(0, 0, 0) = {C4, 1, 0, 0x9, 0x01};  // 256 >= the 64-sample loop end
  song.cell(0, 0, 1) = {C4, 2, 0, 0x9, 0x02};
  PlayerRig rig(song);
  rig.tick();
  EXPECT_EQ(rig.voice(0).sample, nullptr);
  EXPECT_NE(rig.voice(1).sample, nullptr);
  EXPECT_EQ(rig.voice(1).position, 512u);
}

TEST(PlayerPitch, PortamentoUpStopsAt56AndDownHasNoLimit) {
  XmSong song = basicSong(2);
  song.cell(0, 0, 0) = {96, 1, 0, 0x1, 0xFF};
  song.cell(0, 0, 1) = {96, 1, 0, 0x2, 0xFF};
  song.cell(0, 1, 1) = {0, 0, 0, 0x2, 0x00};
  PlayerRig rig(song);
  rig.tick();
  EXPECT_EQ(rig.channel(0).period, 7680 - 95 * 64);
  rig.tick(5);
  EXPECT_EQ(rig.channel(0).period, 56);
  EXPECT_EQ(rig.channel(1).period, 1600 + 5 * 1020);
  rig.playRow();
  EXPECT_EQ(rig.channel(1).period, 1600 + 10 * 1020) << "past the lowest note, using the memory";
}

TEST(PlayerPitch, ArpeggioCyclesThroughItsThreeNotes) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0x0, 0x47};
  PlayerRig rig(song);
  std::vector<int> deltas;
  for (int i = 0; i < 6; ++i) {
    rig.tick();
    deltas.push_back(rig.channel(0).vibratoDelta);
  }
  EXPECT_EQ(deltas, (std::vector<int>{0, 4 * 64, 7 * 64, 0, 4 * 64, 7 * 64}));
  EXPECT_EQ(rig.voice(0).frequency, linearFrequency(4608, 7 * 64));
}

TEST(PlayerPitch, AmigaArpeggioUsesPeriodDifferences) {
  XmSong song = basicSong(1);
  song.linear = false;
  song.cell(0, 0, 0) = {C4, 1, 0, 0x0, 0x0C};
  PlayerRig rig(song);
  rig.tick(3);
  EXPECT_EQ(rig.channel(0).period, 1712);
  EXPECT_EQ(rig.channel(0).vibratoDelta, 856 - 1712);
  EXPECT_EQ(rig.voice(0).frequency, 14317056 / 856);
}

TEST(PlayerPitch, VolumeColumnTonePortamentoSlidesToTheNewNote) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  song.cell(0, 1, 0) = {C4 + 12, 1, 0xF8, 0, 0};
  PlayerRig rig(song);
  rig.playRow();
  const uint32_t position = rig.voice(0).position;
  rig.tick();
  EXPECT_EQ(rig.channel(0).period, 4608) << "the note does not jump";
  EXPECT_EQ(rig.channel(0).portaTarget, 3840);
  EXPECT_EQ(rig.voice(0).position, position) << "nor retrigger";
  rig.tick();
  EXPECT_EQ(rig.channel(0).period, 4608 - 8 * 16 * 4);
  rig.tick();
  EXPECT_EQ(rig.channel(0).period, 3840);
}

TEST(PlayerPitch, AutomaticVibratoSweepsIn) {
  XmSong song = basicSong(1);
  XmInstrument& in = song.instruments[0];
  in.vibratoType = 1;  // square
  in.vibratoDepth = 8;
  in.vibratoSweep = 4;
  in.vibratoRate = 64;
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  PlayerRig rig(song);
  std::vector<int> deltas;
  for (int i = 0; i < 6; ++i) {
    rig.tick();
    deltas.push_back(rig.channel(0).vibratoDelta);
  }
  EXPECT_EQ(deltas, (std::vector<int>{0, 2, -4, -6, 8, 8}));
}

TEST(PlayerEnvelopes, VolumeEnvelopeWalksItsPoints) {
  XmSong song = basicSong(1);
  song.instruments[0].volumeEnvelope = {{{0, 64}, {4, 0}, {8, 64}}, true, false, false, 0, 0, 0};
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  PlayerRig rig(song);
  std::vector<int> outputs;
  for (int i = 0; i < 10; ++i) {
    rig.tick();
    outputs.push_back(rig.channel(0).volumeEnvelope.output);
  }
  EXPECT_EQ(outputs, (std::vector<int>{64, 48, 32, 16, 0, 16, 32, 48, 64, 64}));
  EXPECT_EQ(rig.channel(0).volumeEnvelope.finished, 1);
}

TEST(PlayerEnvelopes, ALoopRepeatsBetweenItsPoints) {
  XmSong song = basicSong(1);
  song.instruments[0].volumeEnvelope = {{{0, 64}, {2, 32}, {4, 0}}, true, false, true, 0, 1, 2};
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  PlayerRig rig(song);
  std::vector<int> outputs;
  for (int i = 0; i < 8; ++i) {
    rig.tick();
    outputs.push_back(rig.channel(0).volumeEnvelope.output);
  }
  EXPECT_EQ(outputs, (std::vector<int>{64, 48, 32, 16, 32, 16, 32, 16}));
}

TEST(PlayerEnvelopes, EnvelopePositionEffect) {
  XmSong song = basicSong(2);
  for (XmInstrument* in : {&song.instruments[0]}) {
    in->volumeEnvelope = {{{0, 64}, {2, 32}, {4, 0}}, true, false, false, 0, 0, 0};
  }
  song.cell(0, 0, 0) = {C4, 1, 0, 21, 3};   // L03: between points 1 and 2
  song.cell(0, 0, 1) = {C4, 1, 0, 21, 50};  // beyond the last point
  PlayerRig rig(song);
  rig.tick();
  EXPECT_EQ(rig.channel(0).volumeEnvelope.output, 16);
  EXPECT_EQ(rig.channel(0).volumeEnvelope.tick, 3);
  EXPECT_EQ(rig.channel(1).volumeEnvelope.output, 0);
  EXPECT_EQ(rig.channel(1).volumeEnvelope.finished, 1);
  rig.tick();
  EXPECT_EQ(rig.channel(0).volumeEnvelope.output, 0);
}

TEST(PlayerPanning, ThePanningEnvelopeMovesWithinTheRoomLeft) {
  XmSong song = basicSong(3);
  song.instruments[0].panningEnvelope = {{{0, 40}, {10, 40}}, true, false, false, 0, 0, 0};
  song.cell(0, 0, 0) = {C4, 1, 0, 0x8, 128};
  song.cell(0, 0, 1) = {C4, 1, 0, 0x8, 224};
  song.cell(0, 0, 2) = {C4, 1, 0, 0x8, 0};
  PlayerRig rig(song);
  rig.tick();
  EXPECT_EQ(rig.voice(0).panning, 128 + 8 * 4) << "(40 - 32) x (128 - |128 - 128|) / 32";
  EXPECT_EQ(rig.voice(1).panning, 224 + 8 * 1);
  EXPECT_EQ(rig.voice(2).panning, 0) << "no room at the edge";
  EXPECT_EQ(rig.voice(2).gainFirst, 127) << "panning 0 plays in the first (left) sample of each frame only";
  EXPECT_EQ(rig.voice(2).gainSecond, 0);
}

}  // namespace
}  // namespace demo
