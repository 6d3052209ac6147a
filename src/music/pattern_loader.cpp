// Patterns: nine-byte headers and packed cells, then the empty patterns the order list plays
// beyond those stored.

#include <algorithm>

#include "music/loader_steps.h"
#include "music/module_loader.h"

namespace demo {
namespace {

constexpr int EmptyPatternRows = 64;

// Notes 98..254 are not notes of the format; they would index past the sample map. They load as
// no note.
uint8_t loadedNote(uint8_t note) {
  if (note == 97) return NoteKeyOff;
  if (note > 97 && note < NoteKeyOff) return 0;
  return note;
}

void readCell(ModuleFile& file, Cell& cell) {
  uint8_t bytes[5] = {};
  bytes[0] = file.readU8();
  if (bytes[0] & 0x80) {
    const uint8_t mask = bytes[0];
    bytes[0] = 0;
    for (int bit = 0; bit < 5; ++bit) {
      if (mask & (1 << bit)) bytes[bit] = file.readU8();
    }
  } else {
    file.read(bytes + 1, 4);
  }
  cell.note = loadedNote(bytes[0]);
  cell.instrument = bytes[1] > 128 ? 0 : bytes[1];
  cell.volume = bytes[2];
  cell.effect = bytes[3];
  cell.parameter = bytes[4];
}

bool loadPattern(ModuleFile& file, Pattern& pattern, int channels) {
  file.readU32();  // header length: the header is always taken as nine bytes
  file.readU8();   // packing type
  const int rows = file.readU16();
  const int packedSize = file.readU16();
  if (rows > MaxPatternRows) return false;
  const int cellCount = rows * channels;
  // A pattern of 0 rows would leave the player no row to read: it gets one empty row.
  pattern.rows = std::max(rows, 1);
  pattern.cells.reset(new Cell[static_cast<size_t>(pattern.rows) * channels]());
  if (packedSize == 0) return true;
  // Exactly rows x channels cells, whatever the packed size says.
  for (int i = 0; i < cellCount; ++i) readCell(file, pattern.cells[i]);
  return true;
}

}  // namespace

bool loadPatterns(ModuleFile& file, Module& module, int patternsInFile) {
  int largest = -1;
  for (int i = 0; i < module.songLength; ++i) largest = std::max<int>(largest, module.orderList[i]);
  module.usedPatterns = largest + 1;
  module.patternSlots = std::max(patternsInFile, module.usedPatterns);
  module.patterns.reset(new Pattern[module.patternSlots]());

  for (int i = 0; i < patternsInFile; ++i) {
    if (!loadPattern(file, module.patterns[i], module.channelCount)) return false;
  }
  for (int i = patternsInFile; i < module.usedPatterns; ++i) {
    module.patterns[i].rows = EmptyPatternRows;
    module.patterns[i].cells.reset(new Cell[static_cast<size_t>(EmptyPatternRows) * module.channelCount]());
  }
  return true;
}

}  // namespace demo
