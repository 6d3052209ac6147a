#pragma once
// Small files made by the project's own writers, one per feature a loader has to get through: the
// fixtures of the damage sweep and the seeds of the fuzzers (fuzz/write_seeds.cpp writes them out).

#include <cstdint>
#include <string>
#include <vector>

namespace demo::test {

struct Fixture {
  std::string name;  // a file name: letters, digits, '_' and one extension
  std::vector<uint8_t> bytes;
};

// Executables with appended archives: stored and compressed members, names with folders, no CRC,
// an empty member, an empty directory.
std::vector<Fixture> archiveFixtures();
// Compressed members as they are stored: the uint32 size prefix, then the NRV2B stream.
std::vector<Fixture> nrv2bFixtures();
// XM modules: both frequency tables, 8- and 16-bit samples with every loop kind, envelopes with
// sustain and loops, automatic vibrato, every effect, pattern loops, jumps, breaks and delays,
// orders beyond the stored patterns and an instrument without samples.
std::vector<Fixture> xmFixtures();
// Scripts: every command, labels and every time form, comments, strings and names with blanks,
// CR LF endings.
std::vector<Fixture> scriptFixtures();
// TGA files of every image type and depth, both row orders, right-to-left rows, run-length packets
// inside and across rows, colour maps of each entry size starting at 0 and beyond.
std::vector<Fixture> tgaFixtures();
// 3DS scenes: every chunk the reader knows, unknown chunks at every level, a deep hierarchy, a mesh
// without mapping coordinates or matrix.
std::vector<Fixture> sceneFixtures();

}  // namespace demo::test
