// XM headers and patterns no tracker would write: what the loader and the player make of them (the
// damage sweep only proves they survive). Companion cases with ordinary files are in tests/music.

#include <algorithm>
#include <chrono>
#include <vector>

#include <gtest/gtest.h>

#include "module_from_memory.h"
#include "music/channel.h"
#include "music/mixer.h"
#include "music/player.h"
#include "writers/xm_writer.h"

namespace demo::test {
namespace {

constexpr size_t HeaderSizeOffset = 60, ChannelsOffset = 68, BpmOffset = 78;
constexpr size_t FirstPattern = 60 + 276;
constexpr uint8_t C4 = 49;

void putLe(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

XmSample squareSample(uint8_t bits = 8) {
  XmSample sample;
  sample.bits = bits;
  for (int i = 0; i < 64; ++i) sample.data.push_back(static_cast<int16_t>(i < 32 ? 100 : -100));
  sample.loop = XmLoop::Forward;
  sample.loopLength = 64;
  return sample;
}

XmSong oneInstrumentSong(int channels = 2, int rows = 16) {
  XmSong song;
  song.channels = channels;
  song.addPattern(rows);
  song.instruments.resize(1);
  song.instruments[0].samples = {squareSample()};
  return song;
}

// A loaded module played tick by tick, its channels in view.
struct Playback {
  explicit Playback(std::unique_ptr<Module> loaded) : module(std::move(loaded)) {
    mixer.configure(44100);
    if (module) resetPlayback(*module, channels, mixer);
  }
  void ticks(int count) {
    std::vector<float> mixed(2 * 32);
    for (int i = 0; i < count; ++i) {
      module->tickHandler(*module, channels, mixer);
      mixer.mixVoices(mixed.data(), 32);
    }
  }
  std::unique_ptr<Module> module;
  Mixer mixer;
  Channels channels{};
};

TEST(XmHostileHeaders, AHeaderSizeOf4GiBIsASeekThatFailsAndLeavesThePosition) {
  std::vector<uint8_t> bytes = writeXm(oneInstrumentSong());
  const auto intact = loadModuleFromBytes(bytes);
  putLe(bytes, HeaderSizeOffset, 0xFFFFFFFFu, 4);
  const auto module = loadModuleFromBytes(bytes);
  ASSERT_TRUE(module) << "the patterns follow the 276 bytes read, where the failed seek left the file";
  EXPECT_EQ(module->patterns[0].rows, intact->patterns[0].rows);
  EXPECT_EQ(module->instruments[0].sampleCount, 1);
}

TEST(XmHostileHeaders, NoChannelsLoadsAndPlaysNothing) {
  std::vector<uint8_t> bytes = writeXm(oneInstrumentSong());
  putLe(bytes, ChannelsOffset, 0, 2);
  Playback play(loadModuleFromBytes(bytes));
  if (!play.module) GTEST_SKIP() << "refused, which is as good";
  play.ticks(200);
  for (int v = 0; v < Mixer::VoiceCount; ++v) EXPECT_EQ(play.mixer.voice(v).sample, nullptr) << v;
}

TEST(XmHostileHeaders, TempoOneMakesTicksOfTwoAndAHalfSeconds) {
  std::vector<uint8_t> bytes = writeXm(oneInstrumentSong());
  putLe(bytes, BpmOffset, 1, 2);
  Playback play(loadModuleFromBytes(bytes));
  ASSERT_TRUE(play.module);
  EXPECT_EQ(play.module->samplesPerTick, 110250);
  play.ticks(3);
}

TEST(XmHostilePatterns, TwoHundredFiftySevenRowsArePlayedToTheEnd) {
  XmSong song = oneInstrumentSong(1, 257);
  song.speed = 1;
  song.cell(0, 256, 0) = {C4, 1, 0, 0, 0};
  Playback play(loadModuleFromBytes(writeXm(song)));
  ASSERT_TRUE(play.module);
  ASSERT_EQ(play.module->patterns[0].rows, 257);
  play.ticks(257);
  EXPECT_EQ(play.module->playingRow, 256);
  EXPECT_NE(play.mixer.voice(0).sample, nullptr) << "the note on the last row plays";
}

TEST(XmHostilePatterns, PackedDataLongerThanTheFileDecodesWhatThereIsAndSilence) {
  XmSong song = oneInstrumentSong(2, 4);
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  std::vector<uint8_t> bytes = writeXm(song);
  putLe(bytes, FirstPattern + 7, 0xFFFF, 2);  // the packed size
  const auto module = loadModuleFromBytes(bytes);
  ASSERT_TRUE(module);
  EXPECT_EQ(module->patterns[0].cells[0].note, C4);
  Playback(std::move(const_cast<std::unique_ptr<Module>&>(module))).ticks(40);
}

TEST(XmHostileInstruments, SixtyFiveThousandSamplesAreRefused) {
  XmSong song = oneInstrumentSong();
  std::vector<uint8_t> bytes = writeXm(song);
  // The instrument follows the pattern's 9-byte header and packed data; its sample count follows its
  // size and 23 bytes of name and type.
  const size_t instrument = FirstPattern + 9 + (bytes[FirstPattern + 7] | bytes[FirstPattern + 8] << 8);
  ASSERT_EQ(bytes[instrument + 27], 1);
  putLe(bytes, instrument + 27, 0xFFFF, 2);
  EXPECT_FALSE(loadModuleFromBytes(bytes));
}

TEST(XmHostileSamples, ALoopWhoseEndWrapsPast4GiBStaysInsideTheSample) {
  XmSong song = oneInstrumentSong(1, 8);
  XmSample& sample = song.instruments[0].samples[0];
  for (const auto& [start, length] : {std::pair{0xFFFFFF00u, 0x200u}, std::pair{0x10u, 0xFFFFFFF8u}}) {
    sample.loopStart = start;
    sample.loopLength = length;
    song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
    Playback play(loadModuleFromBytes(writeXm(song)));
    ASSERT_TRUE(play.module);
    const Sample& loaded = *play.module->instruments[0].samples[0];
    EXPECT_LE(uint64_t{loaded.loopStart} + loaded.loopLength, loaded.length) << start << " + " << length;
    play.ticks(100);
  }
}

TEST(XmHostileSamples, ASixteenBitSampleOfOneByteIsEmpty) {
  XmSong song = oneInstrumentSong(1, 8);
  XmSample& sample = song.instruments[0].samples[0];
  sample.bits = 16;
  sample.loop = XmLoop::PingPong;
  sample.rawData = std::vector<uint8_t>{0x7F};
  sample.lengthBytes = 1;
  sample.loopStart = 0;
  sample.loopLength = 1;
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  Playback play(loadModuleFromBytes(writeXm(song)));
  ASSERT_TRUE(play.module);
  EXPECT_EQ(play.module->instruments[0].samples[0]->length, 0u);
  play.ticks(50);
}

TEST(XmHostileInstruments, ASustainPointBeyondTheEnvelopeIsNeverReached) {
  XmSong song = oneInstrumentSong(1, 16);
  XmInstrument& in = song.instruments[0];
  in.volumeEnvelope = {{{0, 64}, {10, 32}, {20, 0}}, true, true, true, 200, 13, 250};
  in.panningEnvelope = {{{0, 0}, {5, 64}}, true, true, true, 12, 1, 12};
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  song.cell(0, 8, 0) = {97, 0, 0, 0, 0};
  Playback play(loadModuleFromBytes(writeXm(song)));
  ASSERT_TRUE(play.module);
  play.ticks(16 * 6 * 3);
}

TEST(XmHostileEffects, PortamentoBelowPeriodZeroNeverDividesByZero) {
  // Fine and extra-fine portamento up have no lower limit; the highest note starts lowest.
  for (bool linear : {true, false}) {
    XmSong song = oneInstrumentSong(2, 64);
    song.linear = linear;
    song.speed = 1;
    song.cell(0, 0, 0) = {96, 1, 0, 0, 0};
    song.cell(0, 0, 1) = {96, 1, 0, 0, 0};
    for (int row = 1; row < 64; ++row) {
      song.cell(0, row, 0) = {0, 0, 0, 0xE, 0x1F};
      song.cell(0, row, 1) = {0, 0, 0, 0x21, 0x1F};
    }
    Playback play(loadModuleFromBytes(writeXm(song)));
    ASSERT_TRUE(play.module);
    // UBSan (-fno-sanitize-recover) ends the test at an integer division by zero.
    int lowest = 1 << 30;
    for (int tick = 0; tick < 64; ++tick) {
      play.ticks(1);
      lowest = std::min({lowest, play.channels[0].period, play.channels[1].period});
    }
    EXPECT_LE(lowest, 0) << (linear ? "linear" : "Amiga") << ": the slide did reach zero and beyond";
  }
}

TEST(XmHostileEffects, NestedLoopsWithJumpsAndBreaksEndEveryTick) {
  // Two channels loop overlapping ranges of rows while others jump back and break forward, and the
  // last row jumps to itself while a loop on it counts down: every tick ends, on a row that exists.
  XmSong song = oneInstrumentSong(4, 8);
  song.addPattern(8);
  song.orders = {0, 1, 0};
  song.speed = 1;
  song.cell(0, 0, 0) = {0, 0, 0, 0xE, 0x60};
  song.cell(0, 1, 1) = {0, 0, 0, 0xE, 0x60};
  song.cell(0, 3, 0) = {0, 0, 0, 0xE, 0x6F};
  song.cell(0, 4, 1) = {0, 0, 0, 0xE, 0x6F};
  song.cell(0, 4, 2) = {0, 0, 0, 0xD, 0x02};
  song.cell(0, 5, 3) = {0, 0, 0, 0xB, 0x00};
  song.cell(1, 2, 0) = {0, 0, 0, 0xE, 0x60};
  song.cell(1, 3, 0) = {0, 0, 0, 0xE, 0x63};
  song.cell(1, 3, 1) = {0, 0, 0, 0xB, 0x01};
  song.cell(1, 3, 2) = {0, 0, 0, 0xD, 0x03};
  Playback play(loadModuleFromBytes(writeXm(song)));
  ASSERT_TRUE(play.module);
  const auto started = std::chrono::steady_clock::now();
  bool reachedTheSelfJump = false;
  for (int tick = 0; tick < 20000; ++tick) {
    play.ticks(1);
    const Module& m = *play.module;
    ASSERT_GE(m.order, 0);
    ASSERT_LT(m.order, m.songLength);
    ASSERT_GE(m.playingRow, 0);
    ASSERT_LT(m.playingRow, m.patternAt(m.order).rows) << "tick " << tick;
    reachedTheSelfJump |= m.order == 1 && m.playingRow == 3;
  }
  EXPECT_TRUE(reachedTheSelfJump) << "the loops of order 0 end";
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

}  // namespace
}  // namespace demo::test
