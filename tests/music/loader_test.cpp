// The XM loader against tiny files made for one question each.

#include <gtest/gtest.h>

#include "archive/reader.h"
#include "music/module_loader.h"
#include "music_fixtures.h"

namespace demo {
namespace {

using test::basicSong;
using test::loadXm;
using test::loadXmBytes;

TEST(LoadModuleHeader, FieldsComeFromTheFile) {
  XmSong song = basicSong(6);
  song.linear = false;
  song.speed = 3;
  song.bpm = 144;
  song.restartPosition = 1;
  song.addPattern(32);
  song.orders = {1, 0, 1};
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->songLength, 3);
  EXPECT_EQ(m->restartPosition, 1);
  EXPECT_EQ(m->channelCount, 6);
  EXPECT_EQ(m->instrumentCount, 1);
  EXPECT_FALSE(m->linearFrequencies());
  EXPECT_EQ(m->defaultSpeed, 3);
  EXPECT_EQ(m->defaultBpm, 144);
  EXPECT_EQ(m->initialGlobalVolume, 64);
  EXPECT_EQ(m->orderList[0], 1);
  EXPECT_EQ(m->orderList[2], 1);
  EXPECT_EQ(m->usedPatterns, 2);
  EXPECT_EQ(m->patternSlots, 2);
  EXPECT_EQ(m->patterns[1].rows, 32);
  EXPECT_NE(m->tickHandler, nullptr);
}

TEST(LoadModuleHeader, RefusesWhatIsNotAnXmModule) {
  std::vector<uint8_t> bytes = writeXm(basicSong());
  bytes[16] = '!';  // the blank after the colon belongs to the magic
  EXPECT_FALSE(loadXmBytes(bytes));
  EXPECT_FALSE(loadXmBytes({}));
  EXPECT_FALSE(loadModule(test::streamFileOps(), "/nonexistent/song.xm"));
  EXPECT_FALSE(loadModule(MusicFileOps{}, "song.xm")) << "no file operations registered";
}

TEST(LoadModuleHeader, RefusesMoreThan32Channels) {
  EXPECT_TRUE(loadXm(basicSong(32)));
  XmSong song = basicSong(33);
  EXPECT_FALSE(loadXm(song));
}

TEST(LoadModuleHeader, KeepsTheSongInsideTheOrderList) {
  XmSong song = basicSong();
  song.orders.assign(300, 0);  // the header says 300; the table holds 256
  song.restartPosition = 299;
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->songLength, 256);
  EXPECT_EQ(m->restartPosition, 0) << "a restart at or beyond the song restarts at its beginning";

  song.orders.clear();
  m = loadXm(song);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->songLength, 1) << "an empty song plays its first order entry";
  EXPECT_EQ(m->usedPatterns, 1);

  song.orders = {0, 0};
  song.restartPosition = 2;
  m = loadXm(song);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->restartPosition, 0);
}

TEST(LoadModuleHeader, TempoZeroGetsTheDefault) {
  XmSong song = basicSong();
  song.bpm = 0;
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->defaultBpm, 125);
}

TEST(LoadModulePatterns, OrderEntriesBeyondTheStoredPatternsPlayEmpty64RowPatterns) {
  XmSong song = basicSong(2, 16);
  song.addPattern(8);  // pattern 1: stored, never played
  song.orders = {0, 3};
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->usedPatterns, 4);
  EXPECT_EQ(m->patternSlots, 4);
  EXPECT_EQ(m->patterns[1].rows, 8);
  for (int p : {2, 3}) {
    EXPECT_EQ(m->patterns[p].rows, 64);
    for (int i = 0; i < 64 * 2; ++i) EXPECT_EQ(m->patterns[p].cells[i].note, 0);
  }
}

TEST(LoadModulePatterns, PackedSizeZeroKeepsTheDeclaredRowsEmpty) {
  XmSong song = basicSong(2, 48);
  song.patterns[0].packedData = std::vector<uint8_t>{};
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->patterns[0].rows, 48);
  EXPECT_EQ(m->patterns[0].cells[95].note, 0);
}

TEST(LoadModulePatterns, DecodesPackedAndPlainCells) {
  XmSong song = basicSong(3, 1);
  // 0x80 alone: an empty cell; 0 first: no note, then the four other fields; 0x9A: instrument,
  // effect and parameter only.
  song.patterns[0].packedData = std::vector<uint8_t>{0x80, 0, 2, 0x30, 0x0C, 0x20, 0x9A, 5, 0x0F, 0x03};
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  const Cell* c = m->patterns[0].cells.get();
  EXPECT_EQ(c[0].note + c[0].instrument + c[0].volume + c[0].effect + c[0].parameter, 0);
  EXPECT_EQ(c[1].note, 0);
  EXPECT_EQ(c[1].instrument, 2);
  EXPECT_EQ(c[1].volume, 0x30);
  EXPECT_EQ(c[1].effect, 0x0C);
  EXPECT_EQ(c[1].parameter, 0x20);
  EXPECT_EQ(c[2].note, 0);
  EXPECT_EQ(c[2].instrument, 5);
  EXPECT_EQ(c[2].volume, 0);
  EXPECT_EQ(c[2].effect, 0x0F);
  EXPECT_EQ(c[2].parameter, 0x03);
}

TEST(LoadModulePatterns, NotesAndInstrumentsOutsideTheFormat) {
  XmSong song = basicSong(6, 1);
  const uint8_t notes[] = {97, 96, 98, 254, 255, 1};
  const uint8_t instruments[] = {128, 129, 255, 1, 0, 0};
  for (int ch = 0; ch < 6; ++ch) song.cell(0, 0, ch) = XmCell{notes[ch], instruments[ch], 0, 0, 0};
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  const Cell* c = m->patterns[0].cells.get();
  EXPECT_EQ(c[0].note, NoteKeyOff);
  EXPECT_EQ(c[1].note, 96);
  EXPECT_EQ(c[2].note, 0) << "98..254 are no notes";
  EXPECT_EQ(c[3].note, 0);
  EXPECT_EQ(c[4].note, NoteKeyOff);
  EXPECT_EQ(c[0].instrument, 128);
  EXPECT_EQ(c[1].instrument, 0);
  EXPECT_EQ(c[2].instrument, 0);
}

TEST(LoadModulePatterns, ZeroRowsBecomeOneEmptyRowAndHugePatternsAreRefused) {
  XmSong song = basicSong(2, 0);
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->patterns[0].rows, 1);
  EXPECT_EQ(m->patterns[0].cells[1].note, 0);

  song = basicSong(2, MaxPatternRows + 1);
  EXPECT_FALSE(loadXm(song));
}

TEST(LoadModuleInstruments, AnInstrumentWithoutSamplesReadsNoMoreThanItsHeader) {
  XmSong song = basicSong();
  XmInstrument empty;
  empty.sampleMap.fill(3);
  empty.volumeEnvelope.on = true;
  empty.volumeEnvelope.points = {{0, 64}, {10, 0}};
  song.instruments.insert(song.instruments.begin(), empty);
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  const Instrument& in = m->instruments[0];
  EXPECT_EQ(in.sampleCount, 0);
  EXPECT_EQ(in.volumeType, 0);
  EXPECT_EQ(in.sampleMap[0], 0) << "the map is not read";
  for (Sample* s : in.samples) EXPECT_EQ(s, &m->emptySample);
  EXPECT_EQ(m->instruments[1].sampleCount, 1) << "the next instrument is found after it";
  EXPECT_EQ(m->instruments[1].samples[0]->length, 64u);
}

TEST(LoadModuleInstruments, EnvelopesFadeoutAndAutoVibrato) {
  XmSong song = basicSong();
  XmInstrument& in = song.instruments[0];
  in.fadeout = 128;
  in.vibratoType = 2;
  in.vibratoSweep = 3;
  in.vibratoDepth = 4;
  in.vibratoRate = 5;
  in.volumeEnvelope = {{{0, 64}, {4, 32}, {8, 200}}, true, true, true, 1, 0, 2};
  in.panningEnvelope = {{{0, 32}}, true, false, false, 0, 0, 0};
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  const Instrument& i = m->instruments[0];
  EXPECT_EQ(i.fadeout, 256);
  EXPECT_EQ(i.vibratoType, 2);
  EXPECT_EQ(i.vibratoSweep, 3);
  EXPECT_EQ(i.vibratoDepth, 4);
  EXPECT_EQ(i.vibratoRate, 5);
  EXPECT_EQ(i.volumePointCount, 3);
  EXPECT_EQ(i.volumeType, EnvelopeOn | EnvelopeSustain | EnvelopeLoop);
  EXPECT_EQ(i.volumeSustain, 1);
  EXPECT_EQ(i.volumeLoopEnd, 2);
  EXPECT_EQ(i.volumeEnvelope[1].x, 4);
  EXPECT_EQ(i.volumeEnvelope[1].y, 32);
  EXPECT_EQ(i.volumeEnvelope[2].y, 64) << "values above 64 are cut to it";
  EXPECT_EQ(i.panningType, 0) << "a one-point envelope is off";
}

TEST(LoadModuleInstruments, EnvelopePointsBeyondThoseReadAreNotUsed) {
  XmSong song = basicSong();
  XmEnvelope& volume = song.instruments[0].volumeEnvelope;
  // The header counts 40 points; the instrument has room for 12.
  for (uint16_t i = 0; i < 40; ++i) volume.points.push_back({static_cast<uint16_t>(i * 4), 32});
  volume.on = true;
  volume.loopOn = true;
  volume.loopStart = 2;
  volume.loopEnd = 30;
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->instruments[0].volumePointCount, EnvelopePointsRead);
  EXPECT_EQ(m->instruments[0].volumeType, EnvelopeOn) << "a loop ending beyond the points is dropped";
}

TEST(LoadModuleInstruments, SeventeenSamplesAreRefused) {
  XmSong song = basicSong();
  song.instruments[0].samples.resize(16, song.instruments[0].samples[0]);
  EXPECT_TRUE(loadXm(song));
  song.instruments[0].samples.resize(17, song.instruments[0].samples[0]);
  EXPECT_FALSE(loadXm(song));
}

TEST(LoadModuleInstruments, SampleMapValuesBeyondTheSamplesSelectTheEmptySample) {
  XmSong song = basicSong();
  song.instruments[0].sampleMap[10] = 1;   // a slot without sample
  song.instruments[0].sampleMap[11] = 200;
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  const Instrument& in = m->instruments[0];
  EXPECT_EQ(in.samples[in.sampleMap[10]], &m->emptySample);
  EXPECT_EQ(in.sampleMap[11], 200) << "kept; the player treats values >= 16 as the empty sample";
}

XmSong songWithSample(const XmSample& sample) {
  XmSong song = basicSong();
  song.instruments[0].samples = {sample};
  return song;
}

TEST(LoadModuleSamples, EightBitDeltasWidenToSixteenBits) {
  XmSample s;
  s.rawData = std::vector<uint8_t>{1, 1, 1, 0xFD};
  auto m = loadXm(songWithSample(s));
  ASSERT_TRUE(m);
  const Sample& sample = *m->instruments[0].samples[0];
  EXPECT_EQ(sample.bits, 16);
  EXPECT_EQ(sample.length, 4u);
  EXPECT_EQ(sample.data[0], 256);
  EXPECT_EQ(sample.data[1], 512);
  EXPECT_EQ(sample.data[2], 768);
  EXPECT_EQ(sample.data[3], 0);
  EXPECT_EQ(sample.data[4], 0) << "zero padding behind a sample without loop";
}

TEST(LoadModuleSamples, SixteenBitDeltasWrapAround) {
  XmSample s;
  s.bits = 16;
  s.data = {32767, -32768, -1, 1000};
  auto m = loadXm(songWithSample(s));
  ASSERT_TRUE(m);
  const Sample& sample = *m->instruments[0].samples[0];
  EXPECT_EQ(sample.length, 4u);
  EXPECT_EQ(sample.loopKind, LoopNone);
  EXPECT_EQ(sample.loopLength, 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(sample.data[i], s.data[i]);
}

TEST(LoadModuleSamples, AnOddSixteenBitLengthLosesItsLastByteOnly) {
  XmSample first;
  first.bits = 16;
  std::vector<uint8_t> raw = deltaCode({100, 200}, 16);
  raw.push_back(0x55);  // the odd byte
  first.rawData = raw;
  XmSample second;
  second.bits = 16;
  second.data = {-5, 7, 9};
  XmSong song = basicSong();
  song.instruments[0].samples = {first, second};
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  const Sample& a = *m->instruments[0].samples[0];
  const Sample& b = *m->instruments[0].samples[1];
  EXPECT_EQ(a.length, 2u);
  EXPECT_EQ(a.data[1], 200);
  ASSERT_EQ(b.length, 3u);
  EXPECT_EQ(b.data[0], -5) << "the next sample starts behind the dropped byte";
  EXPECT_EQ(b.data[2], 9);
}

TEST(LoadModuleSamples, LoopsAndTheirGuardSample) {
  XmSample forward;
  forward.bits = 16;
  forward.data = {10, 20, 30, 40, 50};
  forward.loop = XmLoop::Forward;
  forward.loopStart = 1;
  forward.loopLength = 3;
  XmSample pingPong = forward;
  pingPong.loop = XmLoop::PingPong;
  XmSong song = basicSong();
  song.instruments[0].samples = {forward, pingPong};
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  const Sample& f = *m->instruments[0].samples[0];
  const Sample& p = *m->instruments[0].samples[1];
  EXPECT_EQ(f.loopKind, LoopForward);
  EXPECT_EQ(f.loopStart, 1u);
  EXPECT_EQ(f.loopLength, 3u);
  EXPECT_EQ(f.data[4], 20) << "guard: the loop start behind the loop end";
  EXPECT_EQ(p.loopKind, LoopPingPong);
  EXPECT_EQ(p.data[4], 40) << "guard: the last sample of the loop repeated";
}

TEST(LoadModuleSamples, AForwardLoopOfLengthZeroPlaysTheWholeSample) {
  XmSample s;
  s.data = {1, 2, 3, 4, 5, 6};
  s.loop = XmLoop::Forward;
  s.loopStart = 2;
  s.loopLength = 0;
  auto m = loadXm(songWithSample(s));
  ASSERT_TRUE(m);
  const Sample& sample = *m->instruments[0].samples[0];
  EXPECT_EQ(sample.loopKind, LoopNone);
  EXPECT_EQ(sample.loopStart, 0u);
  EXPECT_EQ(sample.loopLength, 6u);
}

TEST(LoadModuleSamples, LoopPointsBeyondTheSampleStayInsideIt) {
  XmSample longLoop;
  longLoop.data = {1, 2, 3, 4, 5, 6, 7, 8};
  longLoop.loop = XmLoop::Forward;
  longLoop.loopStart = 5;
  longLoop.loopLength = 1000;
  XmSample lateLoop = longLoop;
  lateLoop.loop = XmLoop::PingPong;
  lateLoop.loopStart = 20;
  lateLoop.loopLength = 4;
  XmSong song = basicSong();
  song.instruments[0].samples = {longLoop, lateLoop};
  auto m = loadXm(song);
  ASSERT_TRUE(m);
  const Sample& a = *m->instruments[0].samples[0];
  EXPECT_EQ(a.loopKind, LoopForward);
  EXPECT_EQ(a.loopStart, 5u);
  EXPECT_EQ(a.loopLength, 3u) << "cut at the sample's end";
  EXPECT_EQ(a.data[8], 6 * 256) << "the guard sample lands inside the padding";
  const Sample& b = *m->instruments[0].samples[1];
  EXPECT_EQ(b.loopKind, LoopNone) << "a loop starting beyond the sample is dropped";
  EXPECT_EQ(b.loopLength, 8u);
}

TEST(LoadModuleSamples, AFileCutShortInSampleDataLoadsSilentAndInBounds) {
  XmSample s;
  s.bits = 16;
  s.data.assign(1000, 1234);
  s.loop = XmLoop::Forward;
  s.loopLength = 1000;
  std::vector<uint8_t> bytes = writeXm(songWithSample(s));
  bytes.resize(bytes.size() - 10);
  auto m = loadXmBytes(bytes);
  ASSERT_TRUE(m);
  const Sample& sample = *m->instruments[0].samples[0];
  EXPECT_EQ(sample.length, 0u) << "data the file does not hold plays as silence";
  EXPECT_EQ(sample.data, nullptr);
  EXPECT_EQ(sample.loopEnd(), 0u);

  // Cut inside the instrument header: what could not be read stays zero.
  bytes.resize(350);
  m = loadXmBytes(bytes);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->instruments[0].sampleCount, 0);
  EXPECT_EQ(m->instruments[0].samples[0], &m->emptySample);
}

TEST(LoadModuleSamples, AHeaderCannotAskForMoreThanTheFileHolds) {
  XmSample s;
  s.data = {1, 2, 3};
  s.lengthBytes = 0x7FFFFFFF;
  auto m = loadXm(songWithSample(s));
  ASSERT_TRUE(m);
  EXPECT_EQ(m->instruments[0].samples[0]->length, 0u);
}

TEST(MusicFileOpsTest, OneMissingOperationClearsAll) {
  MusicFileOps ops;
  setMusicFileOps(ops, streamOpen, streamClose, streamRead, streamSeek, streamTell);
  EXPECT_TRUE(ops.complete());
  setMusicFileOps(ops, streamOpen, streamClose, nullptr, streamSeek, streamTell);
  EXPECT_EQ(ops.open, nullptr);
  EXPECT_EQ(ops.tell, nullptr);
}

}  // namespace
}  // namespace demo

namespace demo {
namespace {

// Which reason the loader gives for each kind of file it refuses.
ModuleProblem problemOf(const std::vector<uint8_t>& bytes) {
  test::TempDir dir;
  const auto path = dir / "song.xm";
  test::writeFile(path, {bytes.begin(), bytes.end()});
  ModuleProblem problem = ModuleProblem::None;
  EXPECT_FALSE(loadModule(test::streamFileOps(), path.c_str(), &problem));
  return problem;
}

TEST(LoadModuleProblem, NamesWhyAFileIsRefused) {
  std::vector<uint8_t> notXm = writeXm(test::basicSong());
  notXm[0] = 'e';
  EXPECT_EQ(problemOf(notXm), ModuleProblem::NotXm);
  EXPECT_EQ(problemOf(writeXm(test::basicSong(33))), ModuleProblem::TooManyChannels);
  std::vector<uint8_t> patterns = writeXm(test::basicSong());
  patterns[70] = 1;  // 257 patterns
  patterns[71] = 1;
  EXPECT_EQ(problemOf(patterns), ModuleProblem::TooManyPatterns);
  EXPECT_EQ(problemOf(writeXm(test::basicSong(1, MaxPatternRows + 1))), ModuleProblem::LongPattern);
  XmSong crowded = test::basicSong();
  crowded.instruments[0].samples.resize(17, crowded.instruments[0].samples[0]);
  EXPECT_EQ(problemOf(writeXm(crowded)), ModuleProblem::ManySamples);
  // Cut inside the header: the first pattern header is read from the song's tempo fields and asks
  // for 32000 rows, which is not what the file says.
  std::vector<uint8_t> cut = writeXm(test::basicSong());
  cut.resize(200);
  EXPECT_EQ(problemOf(cut), ModuleProblem::CutShort);

  ModuleProblem problem = ModuleProblem::None;
  EXPECT_FALSE(loadModule(test::streamFileOps(), "/nonexistent/song.xm", &problem));
  EXPECT_EQ(problem, ModuleProblem::OpenFailed);
  EXPECT_FALSE(loadModule(MusicFileOps{}, "song.xm", &problem));
  EXPECT_EQ(problem, ModuleProblem::NoFileOps);
  EXPECT_TRUE(loadModule(test::streamFileOps(), "x", nullptr) == nullptr) << "the reason is optional";
  EXPECT_STREQ(describeModuleProblem(ModuleProblem::LongPattern), "a pattern of more than 1024 rows");
}

}  // namespace
}  // namespace demo
