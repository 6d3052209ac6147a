#pragma once
// A self-animating group of metaballs, polygonised every frame and drawn environment-mapped with a
// faint wireframe. Made by makeblobs, drawn by playblobs.

#include <memory>

#include "fx/image.h"
#include "gfx/device_layer.h"

namespace demo {

class BlobSystem {
 public:
  BlobSystem() = default;
  virtual ~BlobSystem();
  BlobSystem(const BlobSystem&) = delete;
  BlobSystem& operator=(const BlobSystem&) = delete;

  // Draws the frame at phase (demo milliseconds x 0.003) with the image as environment map; the
  // device scene is already begun.
  virtual void drawBlobs(DeviceLayer& layer, float phase, Image& image);
};

// makeblobs: null when the system cannot be made.
std::unique_ptr<BlobSystem> createBlobSystem(DeviceLayer& layer);

}  // namespace demo
