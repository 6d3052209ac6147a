// loadScene: the file's materials, objects and keyframer nodes made into a drawable scene.

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "scene/scene.h"
#include "scene/scene_reader.h"

namespace demo {

namespace {

// Direct3D's largest light range (the square root of the largest float): a light that reaches
// everything.
const float LargestLightRange = std::sqrt(FLT_MAX);

bool sameName(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

const Material* findMaterial(const Scene& scene, const char* name) {
  for (const auto& material : scene.materials)
    if (sameName(material->name, name)) return material.get();
  return nullptr;
}

// The first face group whose material exists decides for all faces.
const Material* materialOfMesh(const Scene& scene, const RawMesh& raw) {
  for (const RawFaceGroup& group : raw.faceGroups)
    if (const Material* material = findMaterial(scene, group.materialName.data())) return material;
  return nullptr;
}

template <typename T>
T* findNamed(const std::vector<std::unique_ptr<T>>& list, const char* name) {
  for (const auto& item : list)
    if (sameName(item->name, name)) return item.get();
  return nullptr;
}

// A target node links to the first camera whose name agrees with its own over the shorter of the
// two: "Camera01" finds "Camera0" when that one comes first.
Camera* cameraOfTarget(const Scene& scene, const char* name) {
  for (const auto& camera : scene.cameras) {
    const size_t n = std::min(std::strlen(camera->name), std::strlen(name));
    if (std::strncmp(camera->name, name, n) == 0) return camera.get();
  }
  return nullptr;
}

void buildObjects(const RawScene& raw, Scene& scene) {
  const MeshSpace space = raw.nodes.empty() ? MeshSpace::Stored : MeshSpace::Local;
  for (const RawObject& object : raw.objects) {
    if (const auto* rawMesh = std::get_if<RawMesh>(&object.data)) {
      auto mesh = std::make_unique<Mesh>();
      buildMesh(object, *rawMesh, space, *mesh);
      mesh->material = materialOfMesh(scene, *rawMesh);
      if (!mesh->material) mesh->material = scene.fallbackMaterial.get();
      if (mesh->material->flags & Material::OpacityMap) mesh->flags |= Mesh::Transparent;
      scene.meshes.push_back(std::move(mesh));
    } else if (const auto* rawCamera = std::get_if<RawCamera>(&object.data)) {
      auto camera = std::make_unique<Camera>();
      std::memcpy(camera->name, object.name.data(), sizeof camera->name);
      camera->stored = *rawCamera;
      scene.cameras.push_back(std::move(camera));
    } else if (const auto* rawLight = std::get_if<RawLight>(&object.data)) {
      auto light = std::make_unique<Light>();
      std::memcpy(light->name, object.name.data(), sizeof light->name);
      light->storedPosition = rawLight->position;
      // A light whose colour the file does not give is white.
      light->storedColour = rawLight->present & RawLight::Colour
                                ? Vec3{rawLight->colour[0], rawLight->colour[1], rawLight->colour[2]}
                                : Vec3{1, 1, 1};
      const bool ranged = (rawLight->present & RawLight::OuterRange) && rawLight->outerRange > 0;
      light->range = ranged ? rawLight->outerRange : LargestLightRange;
      scene.lights.push_back(std::move(light));
    }
  }
  // Each list runs from the file's last entry to its first.
  std::reverse(scene.meshes.begin(), scene.meshes.end());
  std::reverse(scene.cameras.begin(), scene.cameras.end());
  std::reverse(scene.lights.begin(), scene.lights.end());
}

std::unique_ptr<SceneNode> buildNode(Scene& scene, const RawNode& raw) {
  const auto id = static_cast<int16_t>(raw.index);
  const char* name = raw.name.data();
  switch (raw.kind) {
    case RawNodeKind::Object: {
      auto node = std::make_unique<ObjectNode>(SceneNode::Object, id, name);
      if (Mesh* mesh = findNamed(scene.meshes, name)) {
        node->attachment = mesh;
        node->attachmentFlags = mesh->flags;
      }
      node->position = buildVectorTrack(raw.position.keys);
      node->scale = buildVectorTrack(raw.scale.keys);
      node->rotation = buildRotationTrack(raw.rotation.keys);
      node->pivot = raw.pivot;
      return node;
    }
    case RawNodeKind::Camera: {
      auto node = std::make_unique<CameraNode>(SceneNode::CameraType, id, name);
      if (Camera* camera = findNamed(scene.cameras, name)) {
        node->camera = camera;
        camera->cameraNode = node.get();
      }
      node->position = buildVectorTrack(raw.position.keys);
      node->fov = buildScalarTrack(raw.fov.keys);
      node->roll = buildScalarTrack(raw.roll.keys);
      return node;
    }
    case RawNodeKind::CameraTarget: {
      auto node = std::make_unique<TargetNode>(SceneNode::Target, id, name);
      if (Camera* camera = cameraOfTarget(scene, name)) {
        node->camera = camera;
        camera->targetNode = node.get();
      }
      node->position = buildVectorTrack(raw.position.keys);
      return node;
    }
    case RawNodeKind::Light: {
      auto node = std::make_unique<LightNode>(SceneNode::LightType, id, name);
      if (Light* light = findNamed(scene.lights, name)) {
        node->light = light;
        light->lightNode = node.get();
      }
      node->position = buildVectorTrack(raw.position.keys);
      node->colour = buildVectorTrack(raw.colour.keys);
      return node;
    }
    default:  // spotlights and light targets keep their place and carry nothing
      return std::make_unique<SceneNode>(SceneNode::Plain, id, name);
  }
}

// Each node goes under the node already in the hierarchy whose id is its parent index (ids are
// unique, so a table finds it at once, however wide or deep the hierarchy); a node whose parent is
// not there yet is left out and never drawn. Object nodes with a transparent mesh go behind their
// siblings, so that they are drawn after the opaque ones; all others go in front.
void buildHierarchy(const RawScene& raw, Scene& scene) {
  std::unordered_map<uint16_t, SceneNode*> attached;
  attached[static_cast<uint16_t>(scene.root.id)] = &scene.root;
  for (const RawNode& rawNode : raw.nodes) {
    std::unique_ptr<SceneNode> node = buildNode(scene, rawNode);
    const auto parent = attached.find(rawNode.parent);
    if (parent != attached.end()) {
      const bool transparent =
          node->type == SceneNode::Object && static_cast<ObjectNode&>(*node).attachment &&
          (static_cast<ObjectNode&>(*node).attachmentFlags & Mesh::Transparent);
      parent->second->adopt(*node, transparent);
      attached[rawNode.index] = node.get();
    }
    scene.nodes.push_back(std::move(node));
  }
}

// A file without keyframer nodes (a static export) shows each mesh once, as stored, under the root.
void placeStoredMeshes(Scene& scene) {
  for (auto it = scene.meshes.rbegin(); it != scene.meshes.rend(); ++it) {
    Mesh& mesh = **it;
    auto node = std::make_unique<ObjectNode>(SceneNode::Object, static_cast<int16_t>(scene.nodes.size()), mesh.name);
    node->attachment = &mesh;
    node->attachmentFlags = mesh.flags;
    scene.root.adopt(*node, mesh.flags & Mesh::Transparent);
    scene.nodes.push_back(std::move(node));
  }
}

}  // namespace

std::unique_ptr<Scene> buildScene(DeviceLayer& layer, const RawScene& raw) {
  auto scene = std::make_unique<Scene>();
  scene->fallbackMaterial = std::make_unique<Material>();
  defaultMaterial(*scene->fallbackMaterial);
  for (const RawMaterial& rawMaterial : raw.materials) {
    auto material = std::make_unique<Material>();
    buildMaterial(layer, rawMaterial, *material);
    scene->materials.push_back(std::move(material));
  }
  std::reverse(scene->materials.begin(), scene->materials.end());
  buildObjects(raw, *scene);
  if (raw.nodes.empty())
    placeStoredMeshes(*scene);
  else
    buildHierarchy(raw, *scene);
  // A segment given backwards would never wrap a frame back into it.
  scene->firstFrame = std::min(raw.firstFrame, raw.lastFrame);
  scene->lastFrame = std::max(raw.firstFrame, raw.lastFrame);
  scene->reserveWalks();
  return scene;
}

std::unique_ptr<Scene> loadScene(DeviceLayer& layer, const char* fileName, std::string* reason) {
  RawScene raw;
  if (!readSceneFile(fileName, raw, reason)) return nullptr;
  return buildScene(layer, raw);
}

}  // namespace demo
