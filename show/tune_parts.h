#pragma once
// The parts of the tune, each written into one pattern: drums, bass, pads, arpeggio and the lead
// with its echo. A pattern is a stack of these calls (tune_score.cpp).

#include <vector>

#include "writers/xm_writer.h"

namespace demo::show {

// An XM note number from its name: "A-4", "C#5"; the format's C-0 is 1.
uint8_t note(const char* name);

struct Chord {
  const char* bass;
  const char* pads[3];
  const char* arpRoot;
  uint8_t arpeggio;  // 0xy: 0x37 minor, 0x47 major
};
using Progression = std::vector<Chord>;  // one chord every 16 rows

enum class Ornament { Plain, Vibrato, Glide, Fall };
struct MelodyNote {
  int row;
  const char* note;
  int rows;
  Ornament ornament = Ornament::Plain;
};
using Melody = std::vector<MelodyNote>;

enum class DrumStyle { Sparse, Groove, Drive };

void writeDrums(XmSong& song, int pattern, DrumStyle style, int fromRow, int toRow);
// A snare run over [fromRow, toRow) growing louder: every other row, then every row.
void writeSnareFill(XmSong& song, int pattern, int fromRow, int toRow);
// Eighth-note bass; glide slides into each next chord's root with tone portamento.
void writeBass(XmSong& song, int pattern, const Progression& chords, bool glide);
// Only the roots, then a rising pitch slide over the last rows before `riseTo`.
void writeBassRiser(XmSong& song, int pattern, const Progression& chords, int riseFrom, int riseTo);
// Chords held on three channels; `slide` is an Axy volume slide written every `slideEvery` rows.
void writePads(XmSong& song, int pattern, const Progression& chords, uint8_t volume, uint8_t slide = 0,
               int slideEvery = 1);
// A retriggered pluck with the chord's 0xy arpeggio; its volume moves from `fromVolume` to `toVolume`.
void writeArpeggio(XmSong& song, int pattern, const Progression& chords, int fromVolume, int toVolume);
// The lead line and its quieter echo three rows later on the other side of the stereo picture.
void writeLead(XmSong& song, int pattern, const Melody& melody, uint8_t volume);
// Ends every channel with a key-off at `row`.
void writeKeyOffs(XmSong& song, int pattern, int row);

}  // namespace demo::show
