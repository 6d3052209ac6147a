#include "scene/material.h"

#include <cstring>

#include "gfx/loaded_texture.h"

namespace demo {

Material::~Material() {
  if (texture) texture->Release();
  if (reflection) reflection->Release();
}

void Material::apply(SceneDraw& pass) const {
  DeviceLayer& layer = pass.layer;
  RenderDevice* device = layer.device();
  layer.setAlphaScale(pass.solidAlpha);
  layer.setMaterial(deviceMaterial);
  if (reflection) {
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
    layer.bindTextures(texture, reflection);
  } else {
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    layer.bindTexture(texture);
  }
  const bool transparent = flags & OpacityMap;
  device->SetRenderState(D3DRS_CULLMODE, transparent ? D3DCULL_NONE : D3DCULL_CCW);
  device->SetRenderState(D3DRS_ZWRITEENABLE, transparent ? 0 : 1);
  // Texture alpha times material alpha, or the material's alpha alone.
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, transparent ? D3DTOP_MODULATE : D3DTOP_SELECTARG2);
}

bool isPlainFileName(const char* name) {
  if (name[0] == '\0') return false;
  if (std::strchr(name, '/') || std::strchr(name, '\\') || std::strchr(name, ':')) return false;
  return std::strstr(name, "..") == nullptr;
}

void buildMaterial(DeviceLayer& layer, const RawMaterial& raw, Material& material) {
  std::memcpy(material.name, raw.name.data(), sizeof material.name);
  D3DMATERIAL8& m = material.deviceMaterial;
  m.Diffuse = {raw.diffuse[0], raw.diffuse[1], raw.diffuse[2], 1.0f - raw.transparency};
  m.Ambient = {raw.ambient[0], raw.ambient[1], raw.ambient[2], 1.0f};
  m.Specular = {raw.specular[0], raw.specular[1], raw.specular[2], 1.0f};
  const float s = raw.selfIllumination;
  m.Emissive = {s, s, s, s};
  m.Power = raw.shininess;
  material.flags = 0;
  const char* textureName = raw.textureName.data();
  const char* opacityName = raw.opacityName.data();
  if (textureName[0] != '\0' && opacityName[0] != '\0') material.flags |= Material::OpacityMap;
  if (!layer.device()) return;  // a file checked without a device gets no textures
  // An opacity map alone is ignored: its alpha would have no texture to go into.
  if (material.flags & Material::OpacityMap) {
    if (isPlainFileName(textureName) && isPlainFileName(opacityName))
      material.texture =
          loadTextureWithOpacity(layer, textureName, Material::TextureSide, Material::TextureSide, opacityName);
  } else if (isPlainFileName(textureName)) {
    material.texture = loadTexture16(layer, textureName, Material::TextureSide, Material::TextureSide, false, true);
  }
  if (isPlainFileName(raw.reflectionName.data()))
    material.reflection =
        loadTexture16(layer, raw.reflectionName.data(), Material::TextureSide, Material::TextureSide, false, true);
}

void defaultMaterial(Material& material) {
  std::strcpy(material.name, "");
  material.deviceMaterial = {};
  material.deviceMaterial.Diffuse = {0.7f, 0.7f, 0.7f, 1.0f};
  material.deviceMaterial.Ambient = {0.7f, 0.7f, 0.7f, 1.0f};
  material.deviceMaterial.Specular = {0.0f, 0.0f, 0.0f, 1.0f};
}

}  // namespace demo
