#pragma once
// The steps of loadModule, in file order (music/module_loader.cpp drives them).

#include "music/module.h"
#include "music/module_file.h"

namespace demo {

bool loadHeader(ModuleFile& file, Module& module, int& patternsInFile);
bool loadPatterns(ModuleFile& file, Module& module, int patternsInFile);
bool loadInstruments(ModuleFile& file, Module& module);

}  // namespace demo
