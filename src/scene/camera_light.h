#pragma once
// A scene's cameras and lights. Their nodes animate them; what the file stores stands in where a
// camera or light has no node (spotlights never get one) or a camera has no target.

#include "scene/raw_scene.h"
#include "scene/vec3.h"

namespace demo {

class CameraNode;
class TargetNode;
class LightNode;

struct Camera {
  char name[32] = {};
  CameraNode* cameraNode = nullptr;  // set while the nodes are built; may stay null
  TargetNode* targetNode = nullptr;
  RawCamera stored;                  // the file's static position, target, bank and lens
};

struct Light {
  char name[32] = {};
  LightNode* lightNode = nullptr;
  float range = 0.0f;
  Vec3 storedPosition;
  Vec3 storedColour;
};

}  // namespace demo
