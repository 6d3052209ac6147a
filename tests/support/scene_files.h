#pragma once
// Reading writer-made 3DS files in memory, for the scene tests.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "archive/reader.h"
#include "fx/random.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"
#include "support/scene_samples.h"
#include "writers/3ds_writer.h"

namespace demo::test {

// Reads the bytes as loadscene reads a file; the reason of a refusal goes to `reason`.
inline bool readBytes(const std::vector<uint8_t>& bytes, RawScene& scene, std::string* reason = nullptr) {
  Reader reader;
  auto copy = std::make_unique<uint8_t[]>(bytes.size());
  if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
  reader.assign(std::move(copy), static_cast<uint32_t>(bytes.size()));
  return readScene(reader, scene, reason);
}

// The reason a file is refused (empty when it is read).
inline std::string refusal(const std::vector<uint8_t>& bytes) {
  RawScene scene;
  std::string reason;
  return readBytes(bytes, scene, &reason) ? std::string() : reason;
}

// A main chunk holding an editor chunk whose body the callback writes.
template <typename Body>
std::vector<uint8_t> editorFile(Body body) {
  ChunkWriter out;
  out.begin(0x4D4D);
  out.begin(0x3D3D);
  body(out);
  out.end();
  out.end();
  return out.bytes;
}

// A named object holding one mesh chunk whose body the callback writes.
template <typename Body>
std::vector<uint8_t> meshFile(Body body, const std::string& name = "m") {
  return editorFile([&](ChunkWriter& out) {
    out.begin(0x4000);
    out.text(name);
    out.begin(0x4100);
    body(out);
    out.end();
    out.end();
  });
}

// A main chunk holding a keyframer chunk whose body the callback writes.
template <typename Body>
std::vector<uint8_t> keyframerFile(Body body) {
  ChunkWriter out;
  out.begin(0x4D4D);
  out.begin(0xB000);
  body(out);
  out.end();
  out.end();
  return out.bytes;
}

// A camera of the test's own, "Viewer", for files that have none: it looks at the middle of the
// scene's meshes, where the frame places them, from the front and a little above, far enough back to
// see them all (or from behind and below), and becomes current. A scene without lights also gets a white light near the viewer.
Camera& addViewerCamera(Scene& scene, DeviceLayer& layer, float frame, bool fromBehind = false);

// One frame as playscene draws it, on whatever device the layer has.
void drawSceneFrame(Scene& scene, DeviceLayer& layer, Random& random, float frame);

}  // namespace demo::test
