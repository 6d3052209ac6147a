#pragma once
// The show's layer over the render device: creation with the fixed presentation parameters and its
// three-step fallback, the stage-0/stage-1 texture cache, the material alpha factor, and the two
// transform stacks (0 feeds the world transform, 1 the projection; the view stays the identity).
// One instance per run of the show.

#include <cstdint>

#include "platform/render_device.h"

namespace demo {

class DeviceLayer {
 public:
  static constexpr int StackDepth = 64;
  static const D3DMATRIX identity;

  // factory stands for Direct3DCreate8: it yields the Direct3D object of the backend in use.
  DeviceLayer(Direct3DFactory factory, void* factoryContext) : factory_(factory), factoryContext_(factoryContext) {}
  ~DeviceLayer() { destroyDevice(); }
  DeviceLayer(const DeviceLayer&) = delete;
  DeviceLayer& operator=(const DeviceLayer&) = delete;

  // 0 on success, -1 on failure (the caller then calls destroyDevice). flags bit 0 = windowed.
  int createDevice(WindowHandle window, int width, int height, int bitsPerPixel, uint32_t flags);
  // Releases the device, then the Direct3D object; each only when present, so it may be repeated.
  void destroyDevice();

  RenderDevice* device() const { return device_; }
  Direct3D* direct3d() const { return direct3d_; }
  bool softwareVertexProcessing() const { return softwareVertexProcessing_; }
  bool referenceDevice() const { return referenceDevice_; }
  int screenWidth() const { return screenWidth_; }
  int screenHeight() const { return screenHeight_; }
  // The parameters the device was created with (for tests and diagnostics).
  const D3DPRESENT_PARAMETERS& presentParameters() const { return presentParameters_; }

  void setAlphaScale(float scale) { alphaScale_ = scale; }
  float alphaScale() const { return alphaScale_; }
  // Passes a copy of the material whose diffuse alpha is multiplied by alphaScale.
  HResult setMaterial(const D3DMATERIAL8& material);

  // Stage 0 only, skipping a SetTexture that changes nothing; unbinds stage 1 if it holds a texture.
  void bindTexture(Texture* texture);
  // Stages 0 and 1; the caller enables stage 1's colour operation itself.
  void bindTextures(Texture* texture0, Texture* texture1);

  void resetTransforms();
  void selectTransformStack(int index);
  void pushTransform();
  void popTransform();
  D3DMATRIX& topTransform() { return stacks_[selected_][depth_[selected_]]; }
  HResult applyTransform();
  int selectedStack() const { return selected_; }
  int stackDepth(int index) const { return depth_[index]; }

 private:
  Direct3DFactory factory_;
  void* factoryContext_;
  Direct3D* direct3d_ = nullptr;
  RenderDevice* device_ = nullptr;
  bool softwareVertexProcessing_ = false;
  bool referenceDevice_ = false;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  D3DPRESENT_PARAMETERS presentParameters_{};
  float alphaScale_ = 1.0f;
  // A cache only: the device holds its own reference to whatever is bound, so a bound texture
  // cannot be freed and its address reused behind the cache's back.
  Texture* boundTexture0_ = nullptr;
  Texture* boundTexture1_ = nullptr;

  D3DMATRIX stacks_[2][StackDepth]{};
  int depth_[2] = {0, 0};
  int selected_ = 0;
};

}  // namespace demo
