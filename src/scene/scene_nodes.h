#pragma once
// The node hierarchy of a scene: the root "$ROOT$", object nodes that carry an attachment (a mesh or
// a particle system) with their animated transform, camera, target and light nodes that animate
// what they point at, and plain nodes (spotlights and light targets) that only keep their place.
//
// Nodes are owned by their scene; the links between them are plain pointers. The hierarchy is walked
// with explicit stacks, never by recursion, so any depth and width is safe.

#include <cstdint>

#include "gfx/device_layer.h"
#include "scene/node_attachment.h"
#include "scene/tracks.h"
#include "scene/vec3.h"

namespace demo {

struct Camera;
struct Light;

class SceneNode {
 public:
  enum Type : int32_t { Plain = 0, Root = 1, Object = 2, CameraType = 3, Target = 4, LightType = 5 };
  static constexpr int NameCapacity = 66;

  SceneNode(Type type, int16_t id, const char* name);
  virtual ~SceneNode() = default;
  SceneNode(const SceneNode&) = delete;
  SceneNode& operator=(const SceneNode&) = delete;

  // Multiplies this node's own transform onto the top of the world stack. Only object nodes have one.
  virtual void evaluate(DeviceLayer& layer, float frame);

  // Puts the child at the end of the child list, or at its front.
  void adopt(SceneNode& child, bool atEnd);

  const Type type;
  const int16_t id;  // the node's index in the file; -1 for the root
  char name[NameCapacity] = {};
  SceneNode* parent = nullptr;
  SceneNode* firstChild = nullptr;
  SceneNode* lastChild = nullptr;
  SceneNode* nextSibling = nullptr;
};

class ObjectNode final : public SceneNode {
 public:
  using SceneNode::SceneNode;

  // The position, then the rotation, then the scale are multiplied onto the top: vertices are scaled
  // first, then rotated, then moved. A node without a scale track keeps its size.
  void evaluate(DeviceLayer& layer, float frame) override;

  NodeAttachment* attachment = nullptr;  // not owned
  int32_t attachmentFlags = 0;           // the mesh's flags when the node was built; bit 0 transparent
  VectorTrack position;
  VectorTrack scale;
  RotationTrack rotation;
  Vec3 pivot;
};

class CameraNode final : public SceneNode {
 public:
  using SceneNode::SceneNode;
  Camera* camera = nullptr;
  VectorTrack position;
  ScalarTrack fov;   // degrees
  ScalarTrack roll;  // degrees
};

class TargetNode final : public SceneNode {
 public:
  using SceneNode::SceneNode;
  Camera* camera = nullptr;
  VectorTrack position;
};

class LightNode final : public SceneNode {
 public:
  using SceneNode::SceneNode;
  Light* light = nullptr;
  VectorTrack position;
  VectorTrack colour;
};

// Case-insensitive in ASCII, as node names are compared for partobject.
bool sameNameIgnoringCase(const char* a, const char* b);

}  // namespace demo
