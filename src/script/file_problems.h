#pragma once
// Why a file a statement names cannot be used, in the words of the reader and of the loader that
// would read it; an empty text when it can be used. They need no device, so `demo --check --files`
// asks them too, and a failing load at run time asks them for its reason.

#include <string>

#include "music/module_loader.h"

namespace demo {

// The statement's text as the script wrote it, for messages: "tex/logo.tga" in quotes, <name>.
std::string quoted(const char* text);
std::string angled(const char* name);

// Why the file cannot be opened as the show opens files (archive first, then disk).
std::string openProblem(const char* fileName);

// A TGA picture that loadtexture would decode.
std::string pictureProblem(const char* fileName);
// An XM module that loadmusic would load (through the stream callbacks the show registers).
std::string moduleProblem(const char* fileName);
// The reason for a module the music player refused: its own, or the reader's when it could not
// open the file.
std::string moduleProblem(const char* fileName, ModuleProblem problem);
// A 3DS scene that loadscene would read: the reader's reason, which names the chunk and its offset.
std::string sceneProblem(const char* fileName);

}  // namespace demo
