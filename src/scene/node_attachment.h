#pragma once
// What hangs on an object node of a scene and is drawn with the node's transform: a mesh, or a
// particle system after partobject. The hierarchy walk hands every attachment one SceneDraw, so a
// particle system gets the show's random sequence and the demo time without anything global.

#include <cstdint>

namespace demo {

class DeviceLayer;
class Random;

// One drawScene call: the layer to draw through, what a particle system needs, and the scene's pass
// alphas as they stood when the draw began (0 switches a pass off).
struct SceneDraw {
  DeviceLayer& layer;
  Random& random;     // the show's shared sequence (blur jitter and particle births draw from it)
  uint32_t demoTime;  // milliseconds of the music clock for this frame
  float solidAlpha = 1.0f;
  float wireAlpha = 0.0f;
};

class NodeAttachment {
 public:
  NodeAttachment() = default;
  virtual ~NodeAttachment() = default;
  NodeAttachment(const NodeAttachment&) = delete;
  NodeAttachment& operator=(const NodeAttachment&) = delete;

  // Draws with the world transform already applied to the device.
  virtual void draw(SceneDraw& pass) = 0;
};

}  // namespace demo
