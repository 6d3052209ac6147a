#pragma once
// A scene material: the device material, the texture map (with its alpha from an opacity map when
// one was named) and the reflection map, and how it makes itself current for a mesh's solid pass.

#include <cstdint>

#include "gfx/device_layer.h"
#include "scene/node_attachment.h"
#include "scene/raw_scene.h"

namespace demo {

struct Material {
  static constexpr int32_t OpacityMap = 1;  // flags bit 0: the texture carries alpha; drawn transparent
  static constexpr uint32_t TextureSide = 256;

  Material() = default;
  ~Material();
  Material(const Material&) = delete;
  Material& operator=(const Material&) = delete;

  // The solid pass's states: the device material with its alpha scaled by the pass's solid alpha,
  // the reflection map added on stage 1, and culling, depth writing and alpha by the opacity map.
  void apply(SceneDraw& pass) const;

  char name[32] = {};
  D3DMATERIAL8 deviceMaterial{};
  Texture* texture = nullptr;     // owned reference
  Texture* reflection = nullptr;  // owned reference
  int32_t flags = 0;
};

// The material of a file's entry. Maps are loaded through the texture loaders when their names are
// plain file names: a name with a path separator, a drive or ".." is not looked up at all. A map
// that does not load leaves the material without it (the opacity flag stays).
void buildMaterial(DeviceLayer& layer, const RawMaterial& raw, Material& material);

// What a mesh without a material of its own is drawn with: light grey, lit, opaque.
void defaultMaterial(Material& material);

// True for a name that names a file in the show's folder or archive and nowhere else.
bool isPlainFileName(const char* name);

}  // namespace demo
