#pragma once
// A loaded 3DS scene: materials with their textures, meshes, cameras and lights, and the node
// hierarchy under "$ROOT$" that animates them; the fields its commands change (setfarplane,
// fadesalpha, fadewalpha, selectcam) and the operations playscene, selectcam, partobject and
// showtunnel call. The operations are virtual so that the timeline can be driven by a scripted scene
// in tests.
//
// The scene owns everything in it. Object nodes point at their attachment without owning it: a
// mesh belongs to the scene's mesh list, a particle system hung on a node by partobject to the show.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/device_layer.h"
#include "scene/camera_light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/node_attachment.h"
#include "scene/scene_nodes.h"
#include "scene/vec3.h"

namespace demo {

class Scene {
 public:
  // The device takes at most this many lights; a scene's further lights are not used.
  static constexpr uint32_t MaxLights = 8;

  Scene();
  virtual ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Makes the camera of that exact name current (the one read last from the file wins). False,
  // changing nothing, when there is none.
  virtual bool selectCamera(const char* name);
  // Writes the projection and the view of the current camera at the frame into the transform
  // stacks, taking the scene's first camera when none is current. A scene without cameras writes
  // nothing (and drawScene then draws nothing).
  virtual void setupCamera(DeviceLayer& layer, float frame);
  // Draws the node hierarchy at the frame; the scene's alphas go into the pass.
  virtual void drawScene(SceneDraw& pass, float frame);

  // partobject: hangs the attachment (not owned) on the object node of that name, compared without
  // regard to case, in place of what hung there; the replaced mesh stays with the scene. False,
  // changing nothing, when no node has the name or it is not an object node ("$ROOT$" names the root).
  virtual bool attachToObject(const char* objectName, NodeAttachment& attachment);

  // The current camera at the frame: world positions of its eye and target, field of view and roll
  // in radians. Without a current camera: the origin, the origin, 0 and 0.
  virtual Vec3 cameraEye(DeviceLayer& layer, float frame);
  virtual Vec3 cameraTarget(DeviceLayer& layer, float frame);
  virtual float cameraFov(float frame);
  virtual float cameraRoll(float frame);

  // The node of that name (case-insensitive), searched depth first from the start, parents before
  // children; null when none has it.
  SceneNode* findNode(SceneNode& start, const char* name);

  float farPlane = 1000.0f;
  float nearPlane = 1.0f;
  float wireAlpha = 0.0f;   // 0 switches the wireframe pass off
  float solidAlpha = 1.0f;  // 0 switches the solid pass off
  uint32_t firstFrame = 0;  // animation segment, 0 and 0 without one
  uint32_t lastFrame = 0;
  Camera* currentCamera = nullptr;

  // The model. Lists run from the last entry of the file to the first, as each new entry went in front.
  std::vector<std::unique_ptr<Material>> materials;
  std::vector<std::unique_ptr<Mesh>> meshes;
  std::vector<std::unique_ptr<Camera>> cameras;
  std::vector<std::unique_ptr<Light>> lights;
  SceneNode root;
  std::vector<std::unique_ptr<SceneNode>> nodes;  // every node but the root, in file order
  std::unique_ptr<Material> fallbackMaterial;     // for meshes whose face groups name no material

  // Room for the walks, made once the hierarchy is built so that drawing allocates nothing.
  void reserveWalks();

 private:
  struct WalkEntry {
    SceneNode* node;
    SceneNode* nextChild;
    bool pushed;
  };
  // Evaluates the node's ancestors, the root first, onto the top of the world stack.
  void evaluateAncestors(DeviceLayer& layer, const SceneNode& node, float frame);
  Vec3 placedPoint(DeviceLayer& layer, const SceneNode* node, const VectorTrack* track, const Vec3& stored,
                   float frame);
  void setLights(DeviceLayer& layer, float frame);
  void drawNodes(SceneDraw& pass, float frame);

  std::vector<SceneNode*> ancestors_;
  std::vector<WalkEntry> walk_;
};

// Builds the scene of a file already read: materials (loading their textures through the layer),
// meshes, cameras, lights and the node hierarchy.
std::unique_ptr<Scene> buildScene(DeviceLayer& layer, const RawScene& raw);

// loadscene: null when the file cannot be read, with the reason (when asked for) in the words of
// the reader: "chunk 0x4110 at offset 1234: 65535 vertices do not fit in 20 bytes".
std::unique_ptr<Scene> loadScene(DeviceLayer& layer, const char* fileName, std::string* reason = nullptr);

}  // namespace demo
