#pragma once
// A self-animating group of five metaballs, polygonised every frame and drawn environment-mapped with a
// faint wireframe. Made by makeblobs, drawn by playblobs. The balls' motion is a fixed function of
// the phase; only the grid, the buffers and the materials persist between frames.

#include <memory>

#include "fx/blob_batch.h"
#include "fx/image.h"
#include "gfx/device_layer.h"

namespace demo {

class BlobSystem {
 public:
  static constexpr int BallCount = 5;
  static constexpr uint8_t Cells = 40;  // per axis

  BlobSystem() = default;
  virtual ~BlobSystem();
  BlobSystem(const BlobSystem&) = delete;
  BlobSystem& operator=(const BlobSystem&) = delete;

  // Makes the batch with its buffers and grid, and sets the balls, bounds and materials. False when
  // memory runs out; the system then has no batch and draws nothing.
  bool initialise();

  // Draws the frame at phase (demo milliseconds x 0.003) with the image's texture as environment
  // map; the device scene is already begun.
  virtual void drawBlobs(DeviceLayer& layer, float phase, Image& image);

  std::unique_ptr<BlobBatch> batch;
  BlobSource balls[BallCount];
};

// Where the balls are at the phase: each coordinate a sum of slow sines, so that they drift into one
// another and apart again.
void moveBalls(float phase, BlobSource (&balls)[BlobSystem::BallCount]);

// makeblobs: null when the system cannot be made.
std::unique_ptr<BlobSystem> createBlobSystem(DeviceLayer& layer);

}  // namespace demo
