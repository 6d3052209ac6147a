#include "music/module_loader.h"

#include "music/loader_steps.h"
#include "music/module_file.h"
#include "music/player.h"

namespace demo {
namespace {

constexpr char Magic[] = "Extended Module: ";
constexpr int MagicLength = 17;

}  // namespace

bool loadHeader(ModuleFile& file, Module& module, int& patternsInFile) {
  char magic[MagicLength] = {};
  file.seek(0, 0);
  file.read(magic, MagicLength);
  for (int i = 0; i < MagicLength; ++i) {
    if (magic[i] != Magic[i]) return false;
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
  if (channels > MaxChannels || patternsInFile > MaxPatternsInFile) return false;
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

std::unique_ptr<Module> loadModule(const MusicFileOps& ops, const char* name) {
  if (!ops.complete()) return nullptr;
  void* handle = ops.open(name);
  if (!handle) return nullptr;
  auto module = std::make_unique<Module>();
  ModuleFile file(ops, handle);
  file.measure();
  int patternsInFile = 0;
  const bool ok = loadHeader(file, *module, patternsInFile) && loadPatterns(file, *module, patternsInFile) &&
                  loadInstruments(file, *module);
  ops.close(handle);
  if (!ok) return nullptr;
  return module;
}

}  // namespace demo
