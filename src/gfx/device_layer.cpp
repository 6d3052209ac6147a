#include "gfx/device_layer.h"

namespace demo {

const D3DMATRIX DeviceLayer::identity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

namespace {

D3DFORMAT backBufferFormat(int bitsPerPixel, D3DFORMAT desktop) {
  switch (bitsPerPixel) {
    case 16: return D3DFMT_R5G6B5;
    case 24: return D3DFMT_R8G8B8;
    case 32: return D3DFMT_X8R8G8B8;
    default: return desktop;
  }
}

// The highest refresh rate the adapter lists for the back buffer's size and format; 0 = default.
uint32_t bestRefreshRate(Direct3D& d3d, const D3DPRESENT_PARAMETERS& p) {
  uint32_t best = 0;
  const uint32_t modes = d3d.GetAdapterModeCount(0);
  for (uint32_t i = 0; i < modes; ++i) {
    D3DDISPLAYMODE mode{};
    if (d3d.EnumAdapterModes(0, i, &mode) != D3D_OK) continue;
    if (mode.Width == p.BackBufferWidth && mode.Height == p.BackBufferHeight && mode.Format == p.BackBufferFormat &&
        mode.RefreshRate > best)
      best = mode.RefreshRate;
  }
  return best;
}

}  // namespace

int DeviceLayer::createDevice(WindowHandle window, int width, int height, int bitsPerPixel, uint32_t flags) {
  direct3d_ = factory_ ? factory_(factoryContext_, D3D_SDK_VERSION_8) : nullptr;
  if (!direct3d_) return -1;
  D3DDISPLAYMODE desktop{};
  if (direct3d_->GetAdapterDisplayMode(0, &desktop) != D3D_OK) return -1;

  const bool windowed = flags & 1;
  D3DPRESENT_PARAMETERS p{};
  if (windowed) {
    // The back buffer takes the desktop's size; presenting scales it into the 640 x 480 window.
    p.BackBufferWidth = desktop.Width;
    p.BackBufferHeight = desktop.Height;
    p.BackBufferFormat = desktop.Format;
    p.Windowed = 1;
    p.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
  } else {
    p.BackBufferWidth = static_cast<uint32_t>(width);
    p.BackBufferHeight = static_cast<uint32_t>(height);
    p.BackBufferFormat = backBufferFormat(bitsPerPixel, desktop.Format);
    p.Windowed = 0;
    p.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
  }
  p.BackBufferCount = 1;
  p.MultiSampleType = 0;
  p.SwapEffect = D3DSWAPEFFECT_DISCARD;
  p.hDeviceWindow = nullptr;
  p.EnableAutoDepthStencil = 1;
  p.AutoDepthStencilFormat = D3DFMT_D16;
  p.Flags = 0;
  p.FullScreen_RefreshRateInHz = windowed ? 0 : bestRefreshRate(*direct3d_, p);
  screenWidth_ = static_cast<int>(p.BackBufferWidth);
  screenHeight_ = static_cast<int>(p.BackBufferHeight);

  softwareVertexProcessing_ = false;
  referenceDevice_ = false;
  D3DPRESENT_PARAMETERS attempt = p;
  if (direct3d_->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &attempt, &device_) !=
      D3D_OK) {
    softwareVertexProcessing_ = true;
    attempt = p;
    if (direct3d_->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &attempt, &device_) !=
        D3D_OK) {
      referenceDevice_ = true;
      attempt = p;
      if (direct3d_->CreateDevice(0, D3DDEVTYPE_REF, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &attempt,
                                  &device_) != D3D_OK) {
        device_ = nullptr;
        return -1;
      }
    }
  }
  presentParameters_ = p;

  for (uint32_t stage = 0; stage < 2; ++stage) {
    device_->SetTextureStageState(stage, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device_->SetTextureStageState(stage, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  }
  device_->SetTextureStageState(1, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
  device_->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
  // u = 0.5 x + 0.5, v = 0.5 y + 0.5 of the camera-space reflection vector: the reflection map.
  const D3DMATRIX sphereMap = {{0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1, 0, 0.5f, 0.5f, 0, 1}};
  device_->SetTransform(D3DTS_TEXTURE1, &sphereMap);
  device_->SetRenderState(D3DRS_SPECULARENABLE, 1);

  alphaScale_ = 1.0f;
  boundTexture0_ = boundTexture1_ = nullptr;
  resetTransforms();
  return 0;
}

void DeviceLayer::destroyDevice() {
  if (device_) {
    device_->Release();
    device_ = nullptr;
  }
  if (direct3d_) {
    direct3d_->Release();
    direct3d_ = nullptr;
  }
  boundTexture0_ = boundTexture1_ = nullptr;
}

HResult DeviceLayer::setMaterial(const D3DMATERIAL8& material) {
  D3DMATERIAL8 scaled = material;
  scaled.Diffuse.a *= alphaScale_;
  return device_->SetMaterial(&scaled);
}

void DeviceLayer::bindTexture(Texture* texture) {
  if (texture != boundTexture0_) {
    device_->SetTexture(0, texture);
    boundTexture0_ = texture;
  }
  if (boundTexture1_) {
    device_->SetTexture(1, nullptr);
    boundTexture1_ = nullptr;
    device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  }
}

void DeviceLayer::bindTextures(Texture* texture0, Texture* texture1) {
  if (texture0 != boundTexture0_) {
    device_->SetTexture(0, texture0);
    boundTexture0_ = texture0;
  }
  if (texture1 != boundTexture1_) {
    device_->SetTexture(1, texture1);
    boundTexture1_ = texture1;
    if (!texture1) device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  }
}

void DeviceLayer::resetTransforms() {
  stacks_[0][0] = identity;
  stacks_[1][0] = identity;
  depth_[0] = depth_[1] = 0;
  selected_ = 0;
}

void DeviceLayer::selectTransformStack(int index) { selected_ = index == 0 ? 0 : 1; }

void DeviceLayer::pushTransform() {
  int& depth = depth_[selected_];
  if (depth < StackDepth - 1) {
    stacks_[selected_][depth + 1] = stacks_[selected_][depth];
    ++depth;
  }
}

void DeviceLayer::popTransform() {
  if (depth_[selected_] > 0) --depth_[selected_];
}

HResult DeviceLayer::applyTransform() {
  return device_->SetTransform(selected_ == 0 ? D3DTS_WORLD : D3DTS_PROJECTION, &topTransform());
}

}  // namespace demo
