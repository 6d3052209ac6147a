#include "tune_score.h"

#include "tune_instruments.h"
#include "tune_parts.h"

namespace demo::show {
namespace {

// clang-format off
const Chord Am{"A-2", {"A-3", "C-4", "E-4"}, "A-4", 0x37};
const Chord F {"F-2", {"A-3", "C-4", "F-4"}, "F-4", 0x47};
const Chord C {"C-3", {"G-3", "C-4", "E-4"}, "C-5", 0x47};
const Chord G {"G-2", {"G-3", "B-3", "D-4"}, "G-4", 0x47};
const Chord Em{"E-2", {"G-3", "B-3", "E-4"}, "E-4", 0x37};

const Progression Verse{Am, F, C, G};
const Progression Bridge{F, G, Em, Am};
const Progression Breakdown{Am, F, C};
const Progression Coda{Am, F, G, Am};
const Progression Voyage{Am, Em, F, G};
const Progression Depths{F, Am, Em, G};

using O = Ornament;
const Melody ThemeOpening{
    {0, "E-5", 6, O::Vibrato}, {6, "D-5", 2}, {8, "C-5", 4}, {12, "D-5", 4, O::Glide},
    {16, "C-5", 6, O::Vibrato}, {22, "A-4", 2}, {24, "C-5", 4}, {28, "F-5", 4}};
Melody theme(bool answer) {
  Melody m = ThemeOpening;
  if (!answer) {
    m.insert(m.end(), {{32, "E-5", 8, O::Vibrato}, {40, "G-5", 4}, {44, "E-5", 4, O::Glide},
                       {48, "D-5", 12, O::Vibrato}, {60, "B-4", 4, O::Fall}});
  } else {
    m.insert(m.end(), {{32, "E-5", 4}, {36, "G-5", 4}, {40, "C-6", 8, O::Vibrato},
                       {48, "B-5", 4, O::Glide}, {52, "D-6", 4}, {56, "B-5", 8, O::Fall}});
  }
  return m;
}
const Melody BridgeTune{
    {0, "A-5", 8, O::Vibrato}, {8, "C-6", 4}, {12, "A-5", 4},
    {16, "B-5", 8, O::Vibrato}, {24, "D-6", 4}, {28, "B-5", 4},
    {32, "G-5", 6}, {38, "A-5", 2}, {40, "B-5", 8, O::Vibrato},
    {48, "A-5", 8, O::Glide}, {56, "E-5", 4}, {60, "A-5", 4, O::Fall}};
const Melody BreakdownCalls{{0, "E-5", 14, O::Vibrato}, {16, "C-5", 14, O::Vibrato}, {32, "G-5", 12, O::Vibrato}};
// clang-format on

constexpr uint8_t PadVolume = 36;
constexpr uint8_t LeadVolume = 48;

// Twelve patterns, played in this order: intro, groove, theme, answer, bridge, breakdown, climax,
// bridge again, voyage, voyage with its theme, depths, drive, coda. The voyage carries the 3D scene,
// the depths the metaballs, the drive the tunnel.
void writePatterns(XmSong& song) {
  const int intro = song.addPattern(), groove = song.addPattern(), themeA = song.addPattern(),
            themeB = song.addPattern(), bridge = song.addPattern(), breakdown = song.addPattern(),
            climax = song.addPattern(), coda = song.addPattern(), voyage = song.addPattern(),
            voyageTheme = song.addPattern(), depths = song.addPattern(), drive = song.addPattern();

  writePads(song, intro, Verse, 8, 0x10, 2);  // the pads swell in
  writeArpeggio(song, intro, Verse, 4, 36);
  writeDrums(song, intro, DrumStyle::Sparse, 32, 64);

  for (int p : {groove, themeA, themeB}) {
    writePads(song, p, Verse, PadVolume);
    writeArpeggio(song, p, Verse, 30, 30);
    writeBass(song, p, Verse, false);
    writeDrums(song, p, DrumStyle::Groove, 0, p == themeB ? 56 : 64);
  }
  writeSnareFill(song, themeB, 56, 64);
  writeLead(song, themeA, theme(false), LeadVolume);
  writeLead(song, themeB, theme(true), LeadVolume);

  writePads(song, bridge, Bridge, PadVolume);
  writeArpeggio(song, bridge, Bridge, 30, 30);
  writeBass(song, bridge, Bridge, true);
  writeDrums(song, bridge, DrumStyle::Groove, 0, 56);
  writeSnareFill(song, bridge, 56, 64);
  writeLead(song, bridge, BridgeTune, LeadVolume);

  // Three chords only: a pattern break after row 47 cuts straight into the climax.
  writePads(song, breakdown, Breakdown, PadVolume);
  writeLead(song, breakdown, BreakdownCalls, 40);
  writeBassRiser(song, breakdown, Breakdown, 40, 47);
  writeDrums(song, breakdown, DrumStyle::Sparse, 0, 16);
  writeSnareFill(song, breakdown, 32, 47);
  song.cell(breakdown, 47, KickChannel).effect = 0xD;

  writePads(song, climax, Verse, PadVolume);
  writeArpeggio(song, climax, Verse, 34, 34);
  writeBass(song, climax, Verse, false);
  writeDrums(song, climax, DrumStyle::Drive, 0, 64);
  writeLead(song, climax, theme(true), LeadVolume);

  writePads(song, voyage, Voyage, PadVolume);
  writeArpeggio(song, voyage, Voyage, 20, 34);
  writeBass(song, voyage, Voyage, true);
  writeDrums(song, voyage, DrumStyle::Groove, 0, 64);
  writePads(song, voyageTheme, Voyage, PadVolume);
  writeArpeggio(song, voyageTheme, Voyage, 34, 30);
  writeBass(song, voyageTheme, Voyage, true);
  writeDrums(song, voyageTheme, DrumStyle::Groove, 0, 56);
  writeSnareFill(song, voyageTheme, 56, 64);
  writeLead(song, voyageTheme, theme(false), LeadVolume);

  writePads(song, depths, Depths, PadVolume);
  writeArpeggio(song, depths, Depths, 24, 24);
  writeBass(song, depths, Depths, false);
  writeDrums(song, depths, DrumStyle::Sparse, 0, 64);
  writeLead(song, depths, BreakdownCalls, 40);

  writePads(song, drive, Verse, PadVolume);
  writeArpeggio(song, drive, Verse, 34, 34);
  writeBass(song, drive, Verse, false);
  writeDrums(song, drive, DrumStyle::Drive, 0, 56);
  writeSnareFill(song, drive, 56, 64);
  writeLead(song, drive, BridgeTune, LeadVolume);

  writePads(song, coda, Coda, PadVolume, 0x01, 8);  // the pads fade away
  writeArpeggio(song, coda, Coda, 28, 0);
  writeDrums(song, coda, DrumStyle::Sparse, 0, 32);
  writeKeyOffs(song, coda, 63);

  song.orders.clear();
  for (int p : {intro, groove, themeA, themeB, bridge, breakdown, climax, bridge, voyage, voyageTheme, depths, drive,
                coda})
    song.orders.push_back(static_cast<uint8_t>(p));
}

}  // namespace

XmSong composeTune() {
  XmSong song;
  song.name = "showcase";
  song.channels = TuneChannels;
  song.speed = 6;
  song.bpm = 125;
  song.instruments = tuneInstruments();
  writePatterns(song);
  return song;
}

}  // namespace demo::show
