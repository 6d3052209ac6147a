#include "archive/reader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/testdata.h"

namespace demo {
namespace {

Reader readerOver(const std::string& text) {
  Reader reader;
  auto bytes = std::make_unique<uint8_t[]>(text.size() + 1);
  std::memcpy(bytes.get(), text.data(), text.size());
  reader.assign(std::move(bytes), static_cast<uint32_t>(text.size()));
  return reader;
}

TEST(ReaderSeek, FromTheEndNeedsATargetAboveZero) {
  Reader r = readerOver("abcdef");
  EXPECT_EQ(r.seek(0, SeekEnd), 6);
  EXPECT_EQ(r.seek(-6, SeekEnd), -1);
  EXPECT_EQ(r.tell(), 6u) << "a failed seek leaves the position";
  EXPECT_EQ(r.seek(1, SeekEnd), -1);
  EXPECT_EQ(r.seek(-5, SeekEnd), 1);
}

TEST(ReaderSeek, FromStartAndCurrentStayInsideTheData) {
  Reader r = readerOver("abcdef");
  EXPECT_EQ(r.seek(6, SeekStart), 6);
  EXPECT_EQ(r.seek(7, SeekStart), -1);
  EXPECT_EQ(r.seek(-1, SeekStart), -1);
  EXPECT_EQ(r.seek(-2, SeekCurrent), 4);
  EXPECT_EQ(r.seek(3, SeekCurrent), -1);
  EXPECT_EQ(r.tell(), 4u);
}

TEST(ReaderSeek, WithoutDataEverythingFails) {
  Reader r;
  EXPECT_EQ(r.seek(0, SeekStart), -1);
  EXPECT_EQ(r.tell(), 0xFFFFFFFFu);
  EXPECT_TRUE(r.atEnd());
  char buffer[4];
  EXPECT_EQ(r.read(buffer, 1), ReadNoData);
  EXPECT_EQ(r.release(), ReadNoData);
}

TEST(ReaderRead, ExactlyTheRemainingBytesThenOneMore) {
  Reader r = readerOver("abcdef");
  char buffer[8] = {};
  ASSERT_EQ(r.seek(2, SeekStart), 2);
  EXPECT_EQ(r.read(buffer, 4), ReadOk);
  EXPECT_EQ(std::string(buffer, 4), "cdef");
  EXPECT_TRUE(r.atEnd());
  EXPECT_EQ(r.seek(5, SeekStart), 5);
  EXPECT_EQ(r.read(buffer, 2), ReadPastEnd);
  EXPECT_EQ(r.tell(), 5u) << "a failed read leaves the position";
}

TEST(ReaderRead, ValuesSwapBytesOnlyForTheBigEndianTypes) {
  Reader r = readerOver(std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
  uint16_t words[2];
  ASSERT_EQ(r.readValues(words, 2, ValueWordBE), ReadOk);
  EXPECT_EQ(words[0], 0x0102);
  EXPECT_EQ(words[1], 0x0304);
  uint32_t dword;
  ASSERT_EQ(r.readValues(&dword, 1, ValueDwordLE), ReadOk);
  EXPECT_EQ(dword, 0x08070605u);
  EXPECT_EQ(r.readValues(&dword, 1, ValueDwordBE), ReadPastEnd);
  ASSERT_EQ(r.seek(4, SeekStart), 4);
  ASSERT_EQ(r.readValues(&dword, 1, ValueDwordBE), ReadOk);
  EXPECT_EQ(dword, 0x05060708u);
}

TEST(ReaderReadLine, LineFeedThenCarriageReturnEndsOneLine) {
  Reader r = readerOver("ab\n\rcd");
  char line[256];
  ASSERT_EQ(r.readLine(line, sizeof line), ReadOk);
  EXPECT_STREQ(line, "ab");
  ASSERT_EQ(r.readLine(line, sizeof line), ReadOk);
  EXPECT_STREQ(line, "cd");
  EXPECT_TRUE(r.atEnd());
}

TEST(ReaderReadLine, CarriageReturnBeforeTheLineFeedStaysInTheLine) {
  Reader r = readerOver("ab\r\ncd");
  char line[256];
  ASSERT_EQ(r.readLine(line, sizeof line), ReadOk);
  EXPECT_STREQ(line, "ab\r");
  ASSERT_EQ(r.readLine(line, sizeof line), ReadOk);
  EXPECT_STREQ(line, "cd");
}

TEST(ReaderReadLine, CapacityLimitsTheLineAndZeroCapacityFails) {
  Reader r = readerOver("abcdefgh\nx");
  char line[4];
  ASSERT_EQ(r.readLine(line, sizeof line), ReadOk);
  EXPECT_STREQ(line, "abc");
  ASSERT_EQ(r.readLine(line, sizeof line), ReadOk);
  EXPECT_STREQ(line, "def");
  EXPECT_EQ(r.readLine(line, 0), ReadPastEnd);
}

TEST(ReaderStream, ReadOfMoreThanRemainsReturnsZeroAndReadsNothing) {
  auto* reader = new Reader;
  auto bytes = std::make_unique<uint8_t[]>(4);
  std::memcpy(bytes.get(), "wxyz", 4);
  reader->assign(std::move(bytes), 4);
  char buffer[8] = {};
  EXPECT_EQ(streamRead(buffer, 5, reader), 0u);
  EXPECT_EQ(streamTell(reader), 0u);
  EXPECT_EQ(streamRead(buffer, 4, reader), 4u);
  EXPECT_EQ(streamSeek(reader, -1, 2), 3) << "mode 2 counts from the end";
  EXPECT_EQ(streamSeek(reader, -1, 1), 2) << "mode 1 counts from the current position";
  EXPECT_EQ(streamSeek(reader, 1, 0), 1);
  streamClose(reader);
  streamClose(nullptr);
}

TEST(ReaderDisk, MissingFilesAndFoldersAreNotFound) {
  test::TempDir dir;
  Reader r;
  EXPECT_EQ(r.open((dir / "missing").string().c_str(), nullptr), ReadNotFound);
  EXPECT_EQ(r.open(dir.path().string().c_str(), nullptr), ReadNotFound) << "a folder is no file";
  EXPECT_FALSE(r.loaded());
}

TEST(ReaderDisk, AnEmptyFileIsLoadedWithSizeZero) {
  test::TempDir dir;
  test::writeFile(dir / "empty", {});
  Reader r;
  ASSERT_EQ(r.openFromDisk((dir / "empty").string().c_str()), ReadOk);
  EXPECT_TRUE(r.loaded());
  EXPECT_TRUE(r.atEnd());
  EXPECT_EQ(r.release(), ReadOk);
}

#ifndef _WIN32
TEST(ReaderDisk, BackslashSeparatesFoldersButAnExactPathIsTakenAsItIs) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "music");
  test::writeFile(dir / "music" / "song.xm", {'X', 'M'});
  std::string windowsStyle = (dir / "music" / "song.xm").string();
  std::replace(windowsStyle.begin(), windowsStyle.end(), '/', '\\');
  Reader r;
  ASSERT_EQ(r.openFromDisk(windowsStyle.c_str()), ReadOk);
  EXPECT_EQ(r.size(), 2u);

  // A folder whose name holds a backslash (legal here) is reachable through openFile only.
  std::filesystem::create_directories(dir / "a\\b");
  test::writeFile(dir / "a\\b" / "f", {'1'});
  Reader exact;
  EXPECT_EQ(exact.openFile((dir / "a\\b" / "f").string().c_str()), ReadOk);
  EXPECT_EQ(exact.openFromDisk((dir / "a\\b" / "f").string().c_str()), ReadNotFound);
}
#endif

}  // namespace
}  // namespace demo
