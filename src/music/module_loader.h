#pragma once
// loadModule: an XM file, read through the registered file operations, into a Module.
//
// Loader contract: archive/loader_contract.h.

#include <memory>

#include "music/module.h"
#include "music/music_file_ops.h"

namespace demo {

// Limits beyond which a file is refused (null): the player has 32 channels, and the format's
// pattern count and row count bound the memory a header can ask for. Trackers write at most 256 of
// each; 1024 rows leaves room for the extended files some write.
constexpr int MaxPatternsInFile = 256;
constexpr int MaxPatternRows = 1024;

// Why a file was refused.
enum class ModuleProblem {
  None,
  NoFileOps,       // no file operations registered
  OpenFailed,      // the file operations could not open the name
  NotXm,           // no "Extended Module: " at the start
  TooManyChannels,
  TooManyPatterns,
  LongPattern,     // a pattern of more than MaxPatternRows rows
  ManySamples,     // an instrument with more than 16 samples
  CutShort,        // refused after a read ran past the end of the file
};

const char* describeModuleProblem(ModuleProblem problem);

// The module, or null when the file cannot be opened, is not an XM file, declares more than
// MaxChannels channels, more than MaxPatternsInFile patterns, a pattern of more than MaxPatternRows
// rows, or an instrument with more than 16 samples (which of these in `problem`). The file is
// closed in every case.
std::unique_ptr<Module> loadModule(const MusicFileOps& ops, const char* name, ModuleProblem* problem = nullptr);

}  // namespace demo
