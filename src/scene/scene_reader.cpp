#include "scene/scene_reader.h"

#include <utility>

#include "archive/read_status.h"
#include "archive/reader.h"
#include "scene/scene_reader_steps.h"

namespace demo {

namespace {

constexpr uint16_t MainChunk = 0x4D4D;
constexpr uint16_t EditorChunk = 0x3D3D;
constexpr uint16_t KeyframerChunk = 0xB000;
constexpr uint16_t NamedObjectChunk = 0x4000;
constexpr uint16_t MaterialChunk = 0xAFFF;

bool readEditor(ChunkReader& in, uint32_t end, RawScene& scene) {
  return in.walk(end, [&](uint16_t id, uint32_t chunkEnd) {
    if (id == NamedObjectChunk) {
      RawObject object;
      if (!readNamedObject(in, chunkEnd, object)) return false;
      scene.objects.push_back(std::move(object));
    } else if (id == MaterialChunk) {
      RawMaterial material;
      if (!readMaterial(in, chunkEnd, material)) return false;
      scene.materials.push_back(std::move(material));
    }
    return true;
  });
}

bool readMain(ChunkReader& in, uint32_t size, RawScene& scene) {
  if (size < ChunkReader::HeaderSize)
    return in.fail("the file is shorter than a chunk header (%u bytes)", size);
  uint16_t id;
  uint32_t length;
  if (!in.u16(id) || !in.u32(length)) return false;
  if (id != MainChunk) return in.fail("not a 3DS file: it begins with chunk 0x%04X, not 0x4D4D", id);
  if (length < ChunkReader::HeaderSize)
    return in.fail("the main chunk's length %u is shorter than its own header", length);
  // Anything behind the main chunk is not part of the scene.
  if (length > size) return in.fail("the main chunk's length %u runs beyond the end of the file at %u", length, size);
  return in.walk(length, [&](uint16_t childId, uint32_t chunkEnd) {
    if (childId == EditorChunk) return readEditor(in, chunkEnd, scene);
    if (childId == KeyframerChunk) return readKeyframer(in, chunkEnd, scene);
    return true;
  });
}

}  // namespace

bool readScene(Reader& reader, RawScene& scene, std::string* reason) {
  scene = RawScene{};
  ChunkReader in(reader.data(), reader.size());
  if (readMain(in, reader.size(), scene)) return true;
  scene = RawScene{};
  if (reason) *reason = in.reason();
  return false;
}

bool readSceneFile(const char* fileName, RawScene& scene, std::string* reason) {
  scene = RawScene{};
  Reader reader;
  const int status = reader.open(fileName);
  if (status != ReadOk) {
    // In the words every loader uses for a file it cannot open.
    if (reason) *reason = readStatusText(status);
    return false;
  }
  const bool ok = readScene(reader, scene, reason);
  reader.release();
  return ok;
}

}  // namespace demo
