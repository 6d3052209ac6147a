#pragma once
// The steps of loadModule, in file order (music/module_loader.cpp drives them).

#include "music/module.h"
#include "music/module_file.h"
#include "music/module_loader.h"

namespace demo {

// False with the header's problem (not an XM file, too many channels or patterns).
bool loadHeader(ModuleFile& file, Module& module, int& patternsInFile, ModuleProblem* problem = nullptr);
bool loadPatterns(ModuleFile& file, Module& module, int patternsInFile);
bool loadInstruments(ModuleFile& file, Module& module);

}  // namespace demo
