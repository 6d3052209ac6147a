#pragma once
// The reader's steps, one per part of the file, each over a ChunkReader positioned just behind the
// header of the chunk it reads and limited to that chunk.

#include "scene/chunk_reader.h"
#include "scene/raw_scene.h"

namespace demo {

// The file's y and z exchanged: the show's left-handed, y-up space.
inline Vec3 exchangeYZ(const Vec3& v) { return {v.x, v.z, v.y}; }

// Chunk 0x4000: the name, then the mesh, camera or light it holds.
bool readNamedObject(ChunkReader& in, uint32_t end, RawObject& object);
// Chunk 0xAFFF.
bool readMaterial(ChunkReader& in, uint32_t end, RawMaterial& material);
// Chunk 0xB000: the segment and the nodes.
bool readKeyframer(ChunkReader& in, uint32_t end, RawScene& scene);

}  // namespace demo
