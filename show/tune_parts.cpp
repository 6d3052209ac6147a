#include "tune_parts.h"

#include <algorithm>
#include <cstring>

#include "tune_instruments.h"
#include "tune_score.h"

namespace demo::show {
namespace {

constexpr int ChordRows = 16;
constexpr uint8_t KeyOff = 97;
// Effect numbers of the format's effect column.
enum Effect : uint8_t { Arpeggio = 0, SlideUp = 1, SlideDown = 2, TonePortamento = 3, Vibrato = 4, Panning = 8,
                        VolumeSlide = 0xA, PatternBreak = 0xD };

// Volume column: 0x10 + v sets volume v (0..64); 0x60 + n slides down by n each tick.
uint8_t volume(int v) { return static_cast<uint8_t>(0x10 + std::clamp(v, 0, 64)); }

XmCell& at(XmSong& song, int pattern, int row, int channel) { return song.cell(pattern, row, channel); }

void play(XmSong& song, int pattern, int row, int channel, uint8_t n, uint8_t instrument, int vol) {
  XmCell& c = at(song, pattern, row, channel);
  c.note = n;
  c.instrument = instrument;
  c.volume = volume(vol);
}

void effect(XmSong& song, int pattern, int row, int channel, uint8_t number, uint8_t parameter) {
  XmCell& c = at(song, pattern, row, channel);
  c.effect = number;
  c.parameter = parameter;
}

int patternRows(const XmSong& song, int pattern) { return song.patterns[static_cast<size_t>(pattern)].rows; }

}  // namespace

uint8_t note(const char* name) {
  static constexpr const char* Letters = "C-C#D-D#E-F-F#G-G#A-A#B-";
  for (int semitone = 0; semitone < 12; ++semitone)
    if (std::strncmp(Letters + semitone * 2, name, 2) == 0)
      return static_cast<uint8_t>((name[2] - '0') * 12 + semitone + 1);
  return 0;
}

void writeDrums(XmSong& song, int pattern, DrumStyle style, int fromRow, int toRow) {
  for (int row = fromRow; row < toRow; ++row) {
    const int beat = row % ChordRows;
    const bool kick = beat == 0 || beat == 8 ||
                      (style != DrumStyle::Sparse && (beat == 11 || (style == DrumStyle::Drive && beat == 14)));
    if (kick) play(song, pattern, row, KickChannel, note("C-4"), Kick, 64);
    if (style != DrumStyle::Sparse && (beat == 4 || beat == 12))
      play(song, pattern, row, SnareChannel, note("C-4"), Snare, 56);
    const bool hat = row % 2 == 0 || style == DrumStyle::Drive;
    if (!hat) continue;
    // Accents on the off-beats, hats swaying between left and right.
    play(song, pattern, row, HatChannel, note("C-4"), HiHat, beat % 4 == 2 ? 44 : 26);
    effect(song, pattern, row, HatChannel, Panning, row % 4 < 2 ? 0x58 : 0xA8);
  }
}

void writeSnareFill(XmSong& song, int pattern, int fromRow, int toRow) {
  for (int row = fromRow; row < toRow; ++row) {
    const bool dense = row >= (fromRow + toRow) / 2;
    if (!dense && (row - fromRow) % 2 != 0) continue;
    play(song, pattern, row, SnareChannel, note("C-4"), Snare,
         24 + 40 * (row - fromRow) / std::max(1, toRow - fromRow));
  }
}

void writeBass(XmSong& song, int pattern, const Progression& chords, bool glide) {
  static constexpr int Steps[] = {0, 3, 6, 8, 11, 14};
  for (size_t c = 0; c < chords.size(); ++c) {
    const int base = static_cast<int>(c) * ChordRows;
    const uint8_t root = note(chords[c].bass);
    for (int step : Steps) {
      const uint8_t n = step == 6    ? static_cast<uint8_t>(root + 12)
                        : step == 14 ? static_cast<uint8_t>(root + 7)
                                     : root;
      if (glide && step == 14 && c + 1 < chords.size()) {
        // A note without an instrument under tone portamento slides the sounding note there.
        at(song, pattern, base + step, BassChannel).note = note(chords[c + 1].bass);
        effect(song, pattern, base + step, BassChannel, TonePortamento, 0x0C);
        effect(song, pattern, base + step + 1, BassChannel, TonePortamento, 0);
        continue;
      }
      play(song, pattern, base + step, BassChannel, n, Bass, step % 8 == 0 ? 56 : 44);
    }
  }
}

void writeBassRiser(XmSong& song, int pattern, const Progression& chords, int riseFrom, int riseTo) {
  for (size_t c = 0; c < chords.size(); ++c)
    play(song, pattern, static_cast<int>(c) * ChordRows, BassChannel, note(chords[c].bass), Bass, 56);
  for (int row = riseFrom; row < riseTo; ++row) effect(song, pattern, row, BassChannel, SlideUp, 0x06);
}

void writePads(XmSong& song, int pattern, const Progression& chords, uint8_t vol, uint8_t slide, int slideEvery) {
  for (size_t c = 0; c < chords.size(); ++c)
    for (int voice = 0; voice < 3; ++voice)
      play(song, pattern, static_cast<int>(c) * ChordRows, PadChannel1 + voice, note(chords[c].pads[voice]), Pad, vol);
  // The outer voices spread left and right; the middle one stays centred.
  effect(song, pattern, 0, PadChannel1, Panning, 0x40);
  effect(song, pattern, 0, PadChannel3, Panning, 0xC0);
  if (slide == 0) return;
  const int rows = static_cast<int>(chords.size()) * ChordRows;
  for (int row = 1; row < rows; row += slideEvery) effect(song, pattern, row, PadChannel2, VolumeSlide, slide);
  for (int row = 1; row < rows; row += slideEvery)
    for (int ch : {PadChannel1, PadChannel3})
      if (at(song, pattern, row, ch).effect == 0 && at(song, pattern, row, ch).parameter == 0)
        effect(song, pattern, row, ch, VolumeSlide, slide);
}

void writeArpeggio(XmSong& song, int pattern, const Progression& chords, int fromVolume, int toVolume) {
  const int rows = static_cast<int>(chords.size()) * ChordRows;
  for (int row = 0; row < rows; ++row) {
    const Chord& chord = chords[static_cast<size_t>(row / ChordRows)];
    if (row % 2 == 0)
      play(song, pattern, row, ArpChannel, note(chord.arpRoot), Pluck,
           fromVolume + (toVolume - fromVolume) * row / rows);
    // 0xy needs its parameter on every row it plays.
    effect(song, pattern, row, ArpChannel, Arpeggio, chord.arpeggio);
  }
}

void writeLead(XmSong& song, int pattern, const Melody& melody, uint8_t vol) {
  const int rows = patternRows(song, pattern);
  for (size_t i = 0; i < melody.size(); ++i) {
    const MelodyNote& m = melody[i];
    const int end = std::min(m.row + m.rows, rows);
    switch (m.ornament) {
      case Ornament::Glide:  // slide from the previous note instead of striking a new one
        at(song, pattern, m.row, LeadChannel).note = note(m.note);
        effect(song, pattern, m.row, LeadChannel, TonePortamento, 0x20);
        if (m.row + 1 < end) effect(song, pattern, m.row + 1, LeadChannel, TonePortamento, 0);
        break;
      case Ornament::Vibrato:
        play(song, pattern, m.row, LeadChannel, note(m.note), Lead, vol);
        for (int row = m.row + 2; row < end; ++row)
          effect(song, pattern, row, LeadChannel, Vibrato, row == m.row + 2 ? 0x64 : 0);
        break;
      case Ornament::Fall:
        play(song, pattern, m.row, LeadChannel, note(m.note), Lead, vol);
        for (int row = std::max(m.row + 1, end - 2); row < end; ++row) {
          effect(song, pattern, row, LeadChannel, SlideDown, 0x10);
          at(song, pattern, row, LeadChannel).volume = 0x68;  // fading as it falls
        }
        break;
      case Ornament::Plain:
        play(song, pattern, m.row, LeadChannel, note(m.note), Lead, vol);
        break;
    }
    const bool followed = i + 1 < melody.size() && melody[i + 1].row == end;
    if (!followed && end < rows) at(song, pattern, end, LeadChannel).note = KeyOff;
  }
  effect(song, pattern, 0, EchoChannel, Panning, 0xC8);
  if (at(song, pattern, 0, LeadChannel).effect == 0) effect(song, pattern, 0, LeadChannel, Panning, 0x60);
  // The echo: the same cells three rows later, struck at a third of the volume.
  for (int row = rows - 1; row >= 3; --row) {
    XmCell copy = at(song, pattern, row - 3, LeadChannel);
    if (copy.effect == Panning) copy.effect = copy.parameter = 0;
    if (copy.note != 0 && copy.note != KeyOff && copy.instrument != 0) copy.volume = volume(vol / 3);
    at(song, pattern, row, EchoChannel) = copy;
  }
}

void writeKeyOffs(XmSong& song, int pattern, int row) {
  for (int channel = 0; channel < TuneChannels; ++channel) {
    XmCell& c = at(song, pattern, row, channel);
    c.note = KeyOff;
    c.instrument = 0;
  }
}

}  // namespace demo::show
