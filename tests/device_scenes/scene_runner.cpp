#include "scene_runner.h"

namespace demo::scenes {

namespace {

class Target final : public SceneTarget {
 public:
  Target(RenderDevice& device, ReadBack readBack, const char* scene, std::vector<Snapshot>& out)
      : device_(device), readBack_(readBack), scene_(scene), out_(out) {}
  RenderDevice& device() override { return device_; }
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
  ReadBack readBack_;
  std::string scene_;
  std::vector<Snapshot>& out_;
};

}  // namespace

bool runScene(const DeviceScene& scene, Direct3D& direct3d, WindowHandle window, ReadBack readBack,
              std::vector<Snapshot>& snapshots, std::string& error) {
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
  Target target(*device, readBack, scene.name, snapshots);
  device->BeginScene();
  scene.draw(target);
  device->EndScene();
  device->Release();
  if (target.failed) error = std::string(scene.name) + ": a snapshot could not be read";
  return !target.failed;
}

}  // namespace demo::scenes
