#include "scene_runner.h"

#include "platform/memory_resources.h"

namespace demo::scenes {

namespace {

// The backend's Direct3D object with the scene's size as the desktop, so that the device layer's
// windowed set-up (back buffer = desktop mode) makes a device of the scene's size on every backend.
class SceneDirect3D final : public RefCounted<Direct3D> {
 public:
  explicit SceneDirect3D(Direct3D& backend) : backend_(backend) { backend_.AddRef(); }
  uint32_t GetAdapterModeCount(uint32_t adapter) override { return backend_.GetAdapterModeCount(adapter); }
  HResult EnumAdapterModes(uint32_t adapter, uint32_t mode, D3DDISPLAYMODE* out) override {
    return backend_.EnumAdapterModes(adapter, mode, out);
  }
  HResult GetAdapterDisplayMode(uint32_t, D3DDISPLAYMODE* out) override {
    *out = {Width, Height, 60, D3DFMT_X8R8G8B8};
    return D3D_OK;
  }
  HResult CreateDevice(uint32_t adapter, D3DDEVTYPE type, WindowHandle focusWindow, uint32_t behaviorFlags,
                       D3DPRESENT_PARAMETERS* parameters, RenderDevice** device) override {
    return backend_.CreateDevice(adapter, type, focusWindow, behaviorFlags, parameters, device);
  }

 private:
  ~SceneDirect3D() override { backend_.Release(); }
  Direct3D& backend_;
};

Direct3D* sceneDirect3DCreate(void* backend, uint32_t) { return new SceneDirect3D(*static_cast<Direct3D*>(backend)); }

class Target final : public SceneTarget {
 public:
  Target(RenderDevice& device, DeviceLayer* layer, ReadBack readBack, const char* scene, std::vector<Snapshot>& out)
      : device_(device), layer_(layer), readBack_(readBack), scene_(scene), out_(out) {}
  RenderDevice& device() override { return device_; }
  DeviceLayer* layer() override { return layer_; }
  // Read outside the scene: Direct3D reads a finished frame, and so does OpenGL.
  void snapshot(const char* label) override {
    device_.EndScene();
    Snapshot s{scene_ + "." + label, {}};
    if (readBack_(device_, s.rgba) && s.rgba.size() == size_t{Width} * Height * 4)
      out_.push_back(std::move(s));
    else
      failed = true;
    device_.BeginScene();
  }
  bool failed = false;

 private:
  RenderDevice& device_;
  DeviceLayer* layer_;
  ReadBack readBack_;
  std::string scene_;
  std::vector<Snapshot>& out_;
};

// Draws the scene between BeginScene and EndScene; false when a snapshot could not be read.
bool drawScene(const DeviceScene& scene, RenderDevice& device, DeviceLayer* layer, ReadBack readBack,
               std::vector<Snapshot>& snapshots, std::string& error) {
  Target target(device, layer, readBack, scene.name, snapshots);
  device.BeginScene();
  scene.draw(target);
  device.EndScene();
  if (target.failed) error = std::string(scene.name) + ": a snapshot could not be read";
  return !target.failed;
}

}  // namespace

bool runScene(const DeviceScene& scene, Direct3D& direct3d, WindowHandle window, ReadBack readBack,
              std::vector<Snapshot>& snapshots, std::string& error) {
  if (scene.withLayer) {
    DeviceLayer layer(sceneDirect3DCreate, &direct3d);
    if (layer.createDevice(window, Width, Height, 32, 1) != 0) {
      error = std::string(scene.name) + ": the device layer made no device";
      return false;
    }
    return drawScene(scene, *layer.device(), &layer, readBack, snapshots, error);
  }
  D3DPRESENT_PARAMETERS p{};
  p.BackBufferWidth = Width;
  p.BackBufferHeight = Height;
  p.BackBufferFormat = D3DFMT_X8R8G8B8;
  p.BackBufferCount = 1;
  p.SwapEffect = D3DSWAPEFFECT_DISCARD;
  p.hDeviceWindow = window;
  p.Windowed = 1;
  p.EnableAutoDepthStencil = 1;
  p.AutoDepthStencilFormat = D3DFMT_D16;
  RenderDevice* device = nullptr;
  if (direct3d.CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &device) != D3D_OK) {
    error = std::string(scene.name) + ": no device";
    return false;
  }
  const bool drawn = drawScene(scene, *device, nullptr, readBack, snapshots, error);
  device->Release();
  return drawn;
}

}  // namespace demo::scenes
