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

}  // namespace demo::test
