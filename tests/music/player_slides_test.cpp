// Slides and their memories: tone portamento, the volume column, fine and extra fine portamento,
// fine volume, global volume and panning slides, row by row.

#include <gtest/gtest.h>

#include <vector>

#include "music/pitch.h"
#include "music_fixtures.h"

namespace demo {
namespace {

using test::basicSong;
using test::PlayerRig;
using Ints = std::vector<int>;

constexpr uint8_t C3 = 37, C4 = 49, C5 = 61;
constexpr uint8_t GlobalVolume = 16, GlobalSlide = 17, PanningSlide = 25, ExtraFine = 33;

int period0(PlayerRig& r) { return r.channel(0).period; }

// What read gives at the end of each of count rows.
template <typename Read>
Ints perRow(PlayerRig& rig, int count, Read read) {
  Ints values;
  for (int i = 0; i < count; ++i) {
    rig.playRow();
    values.push_back(static_cast<int>(read(rig)));
  }
  return values;
}

TEST(PlayerTonePortamento, SlidesByFourTimesItsSpeedAndStopsAtTheTarget) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  song.cell(0, 1, 0) = {C5, 1, 0, 0x3, 0x50};  // 320 a tick towards 3840
  song.cell(0, 2, 0) = {C3, 0, 0, 0x3, 0x00};  // the speed from memory, towards 5376
  song.cell(0, 3, 0) = {C5, 0, 0, 0x5, 0x02};  // the same speed, sliding the volume down 2
  PlayerRig rig(song);
  rig.playRow();
  rig.mix(1000);  // past the new note's ramp
  const uint32_t position = rig.voice(0).position;
  EXPECT_EQ(rig.ticks(6, period0), (Ints{4608, 4288, 3968, 3840, 3840, 3840}));
  EXPECT_EQ(rig.voice(0).position, position) << "no retrigger, even with an instrument in the cell";
  EXPECT_NE(rig.voice(0).currentFirst, 0u);
  EXPECT_EQ(rig.voice(0).frequency, linearFrequency(3840, 0));
  EXPECT_EQ(rig.ticks(6, period0), (Ints{3840, 4160, 4480, 4800, 5120, 5376}));
  EXPECT_EQ(rig.ticks(6, period0), (Ints{5376, 5056, 4736, 4416, 4096, 3840}));
  EXPECT_EQ(rig.channel(0).volume, 64 - 5 * 2);
  EXPECT_EQ(rig.channel(0).note, C4 - 1) << "the note of a tone portamento is not taken";
}

TEST(PlayerTonePortamento, TheRowTickKeepsTheOldPitch) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  song.cell(0, 1, 0) = {C5, 0, 0, 0x3, 0x10};
  PlayerRig rig(song);
  rig.playRow();
  rig.tick();
  EXPECT_EQ(rig.channel(0).notePeriod, 3840);
  EXPECT_EQ(rig.channel(0).portaTarget, 3840);
  EXPECT_EQ(rig.channel(0).period, 4608);
  EXPECT_EQ(rig.voice(0).frequency, 8363);
}

TEST(PlayerVolumeColumn, SlidesOnTheRowTickAndPansWithoutClamping) {
  XmSong song = basicSong(3);
  song.cell(0, 0, 0) = {C4, 1, 0x63, 0, 0};  // down 3 on all six ticks
  song.cell(0, 1, 0) = {0, 0, 0x6F, 0, 0};   // not below 0
  song.cell(0, 0, 1) = {C4, 1, 0x20, 0, 0};  // volume 16
  song.cell(0, 1, 1) = {0, 0, 0x73, 0, 0};   // up 3 on all six ticks
  song.cell(0, 2, 1) = {0, 0, 0x95, 0, 0};   // fine: the row tick only
  song.cell(0, 3, 1) = {0, 0, 0x82, 0, 0};
  song.cell(0, 4, 1) = {0, 0, 0x7F, 0, 0};   // not above 64
  song.cell(0, 0, 2) = {C4, 1, 0xCF, 0, 0};  // panning 240
  song.cell(0, 1, 2) = {0, 0, 0xEF, 0, 0};   // right 15 on all six ticks: 330
  song.cell(0, 2, 2) = {0, 0, 0xDF, 0, 0};   // and back
  PlayerRig rig(song);
  std::vector<Ints> volume(3), pan(3), voicePan(3);
  for (int row = 0; row < 5; ++row) {
    rig.playRow();
    for (int ch = 0; ch < 3; ++ch) {
      volume[ch].push_back(rig.channel(ch).volume);
      pan[ch].push_back(rig.channel(ch).pan);
      voicePan[ch].push_back(rig.voice(ch).panning);
    }
  }
  EXPECT_EQ(volume[0], (Ints{46, 0, 0, 0, 0}));
  EXPECT_EQ(volume[1], (Ints{16, 34, 39, 37, 64}));
  EXPECT_EQ(pan[2], (Ints{240, 330, 240, 240, 240})) << "the channel's panning slides past 255";
  EXPECT_EQ(voicePan[2], (Ints{240, 255, 240, 240, 240})) << "only the voice's is clamped";
}

TEST(PlayerFinePortamento, E1xAndE2xMoveFourTimesX1yAndX2yOnceWithTheirOwnMemories) {
  XmSong song = basicSong(1);
  const XmCell cells[] = {{C4, 1, 0, 0xE, 0x13}, {0, 0, 0, 0xE, 0x10},      {0, 0, 0, ExtraFine, 0x10},
                          {0, 0, 0, ExtraFine, 0x15}, {0, 0, 0, ExtraFine, 0x10}, {0, 0, 0, 0xE, 0x22},
                          {0, 0, 0, ExtraFine, 0x25}, {0, 0, 0, ExtraFine, 0x20}, {0, 0, 0, 0xE, 0x20}};
  for (int row = 0; row < 9; ++row) song.cell(0, row, 0) = cells[row];
  PlayerRig rig(song);
  EXPECT_EQ(perRow(rig, 9, period0), (Ints{4596, 4584, 4584, 4579, 4574, 4582, 4587, 4592, 4600}));
}

TEST(PlayerFineVolume, EAxAndEBxShareOneMemoryAndClamp) {
  XmSong song = basicSong(2);
  song.cell(0, 0, 0) = {C4, 1, 0, 0xE, 0xB5};
  song.cell(0, 1, 0) = {0, 0, 0, 0xE, 0xA0};  // up by the 5 of EB5
  song.cell(0, 2, 0) = {0, 0, 0, 0xE, 0xA3};
  song.cell(0, 3, 0) = {0, 0, 0, 0xE, 0xB0};  // down by the 3 of EA3
  song.cell(0, 0, 1) = {C4, 1, 0x12, 0xE, 0xB5};
  PlayerRig rig(song);
  EXPECT_EQ(perRow(rig, 4, [](PlayerRig& r) { return r.channel(0).volume; }), (Ints{59, 64, 64, 61}));
  EXPECT_EQ(rig.channel(1).volume, 0);
}

TEST(PlayerVolumeSlide, AFiveAndSixShareOneMemory) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0xA, 0x03};
  song.cell(0, 1, 0) = {0, 0, 0, 0x5, 0x00};
  song.cell(0, 2, 0) = {0, 0, 0, 0x6, 0x00};
  song.cell(0, 3, 0) = {0, 0, 0, 0x5, 0x20};
  song.cell(0, 4, 0) = {0, 0, 0, 0xA, 0x00};
  PlayerRig rig(song);
  EXPECT_EQ(perRow(rig, 5, [](PlayerRig& r) { return r.channel(0).volume; }), (Ints{49, 34, 19, 29, 39}));
}

TEST(PlayerGlobalVolume, GClampsAndHKeepsOneMemoryForTheWholeModule) {
  XmSong song = basicSong(2);
  song.cell(0, 0, 0) = {C4, 1, 0, GlobalSlide, 0x02};
  song.cell(0, 0, 1) = {C4, 1, 0, 0, 0};
  song.cell(0, 1, 1) = {0, 0, 0, GlobalSlide, 0x00};  // another channel, the module's memory
  song.cell(0, 2, 0) = {0, 0, 0, GlobalSlide, 0xF0};
  song.cell(0, 3, 0) = {0, 0, 0, GlobalSlide, 0x0F};
  song.cell(0, 4, 0) = {0, 0, 0, GlobalVolume, 0x50};
  PlayerRig rig(song);
  rig.playRow();
  EXPECT_EQ(rig.module->globalVolume, 54);
  EXPECT_EQ(rig.voice(0).level, 127) << "the slide sets no update flag";
  rig.tick();
  EXPECT_EQ(rig.voice(0).level, 54 * 255 / 128) << "the next row tick updates every channel";
  EXPECT_EQ(rig.voice(1).level, 54 * 255 / 128);
  rig.tick(5);
  EXPECT_EQ(rig.module->globalVolume, 44);
  EXPECT_EQ(perRow(rig, 3, [](PlayerRig& r) { return r.module->globalVolume; }), (Ints{64, 0, 64}));
  EXPECT_EQ(rig.voice(0).level, 127) << "G50 gives 64, not 80";
}

TEST(PlayerPanningSlide, PKeepsANonZeroParameterAndClamps) {
  XmSong song = basicSong(3);
  song.cell(0, 0, 0) = {C4, 1, 0, PanningSlide, 0x04};
  song.cell(0, 1, 0) = {0, 0, 0, PanningSlide, 0x00};
  song.cell(0, 2, 0) = {0, 0, 0, PanningSlide, 0x34};  // the left nibble wins
  song.cell(0, 0, 1) = {C4, 1, 0, 0x8, 0xFA};
  song.cell(0, 1, 1) = {0, 0, 0, PanningSlide, 0xF0};
  song.cell(0, 2, 1) = {0, 0, 0, PanningSlide, 0x0F};
  song.cell(0, 0, 2) = {C4, 1, 0, PanningSlide, 0x00};  // nothing remembered yet
  PlayerRig rig(song);
  std::vector<Ints> pans(3);
  for (int row = 0; row < 3; ++row) {
    rig.playRow();
    for (int ch = 0; ch < 3; ++ch) pans[ch].push_back(rig.voice(ch).panning);
  }
  EXPECT_EQ(pans[0], (Ints{108, 88, 103}));
  EXPECT_EQ(pans[1], (Ints{250, 255, 180}));
  EXPECT_EQ(pans[2], (Ints{128, 128, 128}));
}

}  // namespace
}  // namespace demo
