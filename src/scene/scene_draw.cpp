// Drawing a scene: lights in camera space, the render states, and the walk of the hierarchy in which
// every object node multiplies its transform onto the world stack and draws its attachment after
// its children.

#include <cstring>

#include "scene/matrix.h"
#include "scene/scene.h"

namespace demo {

Scene::Scene() : root(SceneNode::Root, -1, "$ROOT$") {}

Scene::~Scene() = default;

void Scene::reserveWalks() {
  ancestors_.reserve(nodes.size() + 1);
  walk_.reserve(nodes.size() + 1);
}

SceneNode* Scene::findNode(SceneNode& start, const char* name) {
  // Depth first, parents before children, children in list order: the start, then each child's
  // subtree. The stack holds the next sibling to visit at each level.
  std::vector<SceneNode*> pending{&start};
  while (!pending.empty()) {
    SceneNode* node = pending.back();
    pending.pop_back();
    if (sameNameIgnoringCase(node->name, name)) return node;
    if (node != &start && node->nextSibling) pending.push_back(node->nextSibling);
    if (node->firstChild) pending.push_back(node->firstChild);
  }
  return nullptr;
}

bool Scene::attachToObject(const char* objectName, NodeAttachment& attachment) {
  SceneNode* node = findNode(root, objectName);
  if (!node || node->type != SceneNode::Object) return false;
  static_cast<ObjectNode*>(node)->attachment = &attachment;
  return true;
}

void Scene::setLights(DeviceLayer& layer, float frame) {
  RenderDevice* device = layer.device();
  uint32_t index = 0;
  for (const auto& light : lights) {
    if (index == MaxLights) break;
    const LightNode* node = light->lightNode;
    const Vec3 position = placedPoint(layer, node, node ? &node->position : nullptr, light->storedPosition, frame);
    const Vec3 colour = node ? evalVector(node->colour, frame) : light->storedColour;
    D3DLIGHT8 record{};
    record.Type = D3DLIGHT_POINT;
    record.Diffuse = {colour.x, colour.y, colour.z, 1.0f};
    record.Specular = {colour.x, colour.y, colour.z, 1.0f};
    record.Position = {position.x, position.y, position.z};
    record.Range = light->range;
    record.Attenuation0 = 1.0f;
    record.Attenuation1 = 0.01f;
    record.Attenuation2 = 0.001f;
    device->SetLight(index, &record);
    device->LightEnable(index, true);
    ++index;
  }
  // Lights an earlier scene (or the metaballs) left on would light this one.
  for (; index < MaxLights; ++index) device->LightEnable(index, false);
}

void Scene::drawScene(SceneDraw& pass, float frame) {
  if (!currentCamera) return;  // a scene without cameras shows nothing
  DeviceLayer& layer = pass.layer;
  RenderDevice* device = layer.device();
  layer.selectTransformStack(1);
  layer.applyTransform();
  layer.selectTransformStack(0);
  layer.applyTransform();
  setLights(layer, frame);
  device->SetVertexShader(FVF_XYZ_NORMAL_TEX1);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_LIGHTING, 1);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_LIGHTING, 1);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  // Unlit scenes show their materials' ambient colours at full strength.
  if (lights.empty()) device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFFu);
  pass.solidAlpha = solidAlpha;
  pass.wireAlpha = wireAlpha;
  drawNodes(pass, frame);
  device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
}

// Without recursion: each entry is a node whose children are being drawn. An object node pushes its
// transform when entered and draws its attachment and pops when its last child is done. A node that
// would need a 65th matrix is left out with its subtree: its matrix would overwrite its parent's.
void Scene::drawNodes(SceneDraw& pass, float frame) {
  DeviceLayer& layer = pass.layer;
  walk_.clear();
  walk_.push_back({&root, root.firstChild, false});
  while (!walk_.empty()) {
    WalkEntry& entry = walk_.back();
    if (SceneNode* child = entry.nextChild) {
      entry.nextChild = child->nextSibling;
      bool pushed = false;
      if (child->type == SceneNode::Object) {
        if (layer.stackDepth(0) >= DeviceLayer::StackDepth - 1) continue;
        layer.pushTransform();
        child->evaluate(layer, frame);
        pushed = true;
      }
      walk_.push_back({child, child->firstChild, pushed});
      continue;
    }
    if (entry.node->type == SceneNode::Object) {
      auto* object = static_cast<ObjectNode*>(entry.node);
      if (object->attachment) {
        // Children inherit the node's transform without the pivot; the attachment is drawn with it.
        const Vec3& pivot = object->pivot;
        preTranslate(layer.topTransform(), Vec3{-pivot.x, -pivot.y, -pivot.z});
        layer.applyTransform();
        object->attachment->draw(pass);
      }
    }
    if (entry.pushed) layer.popTransform();
    walk_.pop_back();
  }
}

}  // namespace demo
