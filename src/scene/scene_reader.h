#pragma once
// readScene: a 3DS file into a RawScene. Only the chunks the show uses are read; every other chunk
// is skipped by its length, at any level.
//
// A 3DS file is hostile input. Besides the loader contract (archive/loader_contract.h) the reader
// keeps these rules: a chunk shorter than its header, or one that ends beyond its parent, fails the
// load; every count is checked against the bytes of its chunk before anything is allocated; a face
// index at or beyond the vertex count, or a face-group face number at or beyond the face count,
// fails; a second vertex list, mapping list, face list, camera or light in one object is skipped
// (the first wins) and a repeated track replaces the earlier one; NaN and infinite floats read as 0;
// a 65536th keyframer node fails (0xFFFF is the root's id).

#include <string>

#include "scene/raw_scene.h"

namespace demo {

class Reader;

// From the reader's data, starting at offset 0. On failure the scene is left empty and `reason`
// (when given) says why and where, e.g. "chunk 0x4110 at offset 1234: 65535 vertices do not fit
// in 20 bytes".
bool readScene(Reader& reader, RawScene& scene, std::string* reason = nullptr);

// Opens the name through a Reader (the archive first, then disk), reads it and releases the Reader.
bool readSceneFile(const char* fileName, RawScene& scene, std::string* reason = nullptr);

}  // namespace demo
