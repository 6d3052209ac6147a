#include "music/module_loader.h"

#include "music/loader_steps.h"
#include "music/module_file.h"
#include "music/player.h"

namespace demo {
namespace {

constexpr char Magic[] = "Extended Module: ";
constexpr int MagicLength = 17;

bool fail(ModuleProblem* out, ModuleProblem problem) {
  if (out) *out = problem;
  return false;
}

}  // namespace

const char* describeModuleProblem(ModuleProblem problem) {
  static_assert(MaxChannels == 32 && MaxPatternsInFile == 256 && MaxPatternRows == 1024 &&
                    MaxSamplesPerInstrument == 16,
                "the texts below name these limits");
  switch (problem) {
    case ModuleProblem::None: return "no problem";
    case ModuleProblem::NoFileOps: return "no file operations to read it with";
    case ModuleProblem::OpenFailed: return "cannot open the file";
    case ModuleProblem::NotXm: return "not an XM module (it does not begin with \"Extended Module: \")";
    case ModuleProblem::TooManyChannels: return "more than 32 channels";
    case ModuleProblem::TooManyPatterns: return "more than 256 patterns";
    case ModuleProblem::LongPattern: return "a pattern of more than 1024 rows";
    case ModuleProblem::ManySamples: return "an instrument with more than 16 samples";
    case ModuleProblem::CutShort: return "the file ends before the song does (cut short or damaged)";
  }
  return "unknown problem";
}

bool loadHeader(ModuleFile& file, Module& module, int& patternsInFile, ModuleProblem* problem) {
  char magic[MagicLength] = {};
  file.seek(0, 0);
  file.read(magic, MagicLength);
  for (int i = 0; i < MagicLength; ++i) {
    if (magic[i] != Magic[i]) return fail(problem, ModuleProblem::NotXm);
  }
  module.tickHandler = playTick;
  module.initialGlobalVolume = 64;

  file.seek(60, 0);
  const uint32_t headerSize = file.readU32();
  uint8_t counts[6] = {};
  file.read(counts, sizeof counts);
  patternsInFile = file.readU16();
  uint8_t rest[264] = {};
  file.read(rest, sizeof rest);
  file.seek(60 + static_cast<int64_t>(headerSize), 0);

  uint32_t songLength = ModuleFile::le16(counts);
  uint32_t restart = ModuleFile::le16(counts + 2);
  const uint32_t channels = ModuleFile::le16(counts + 4);
  if (channels > MaxChannels) return fail(problem, ModuleProblem::TooManyChannels);
  if (patternsInFile > MaxPatternsInFile) return fail(problem, ModuleProblem::TooManyPatterns);
  // The order list has 256 entries and the player always plays at least one of them: a longer song
  // is cut to the list and an empty one plays its first entry. A restart position outside the song
  // restarts at its beginning. Without this the player would read past the order list.
  if (songLength > 256) songLength = 256;
  if (songLength == 0) songLength = 1;
  if (restart >= songLength) restart = 0;
  module.songLength = static_cast<int16_t>(songLength);
  module.restartPosition = static_cast<int16_t>(restart);
  module.channelCount = static_cast<int16_t>(channels);

  module.instrumentCount = static_cast<int16_t>(ModuleFile::le16(rest));
  module.flags = ModuleFile::le16(rest + 2);
  module.defaultSpeed = static_cast<int16_t>(ModuleFile::le16(rest + 4));
  module.defaultBpm = static_cast<int16_t>(ModuleFile::le16(rest + 6));
  // A tempo of 0 (or above 32767) would make a tick endless; such a header gets the format's default.
  if (module.defaultBpm <= 0) module.defaultBpm = 125;
  for (int i = 0; i < 256; ++i) module.orderList[i] = rest[8 + i];
  return true;
}

std::unique_ptr<Module> loadModule(const MusicFileOps& ops, const char* name, ModuleProblem* problem) {
  if (problem) *problem = ModuleProblem::None;
  if (!ops.complete()) return fail(problem, ModuleProblem::NoFileOps), nullptr;
  void* handle = ops.open(name);
  if (!handle) return fail(problem, ModuleProblem::OpenFailed), nullptr;
  auto module = std::make_unique<Module>();
  ModuleFile file(ops, handle);
  file.measure();
  int patternsInFile = 0;
  // The two later steps fail for one reason each (loader_steps.h).
  const bool ok = loadHeader(file, *module, patternsInFile, problem) &&
                  (loadPatterns(file, *module, patternsInFile) || fail(problem, ModuleProblem::LongPattern)) &&
                  (loadInstruments(file, *module) || fail(problem, ModuleProblem::ManySamples));
  ops.close(handle);
  if (!ok && problem && *problem != ModuleProblem::NotXm && file.ranOut()) *problem = ModuleProblem::CutShort;
  if (!ok) return nullptr;
  return module;
}

}  // namespace demo
