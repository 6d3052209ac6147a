// The script's hot paths: compiling a 1000-statement script, and one frame of the timeline with
// (nearly) every slot of the active table filled.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "fx/image.h"
#include "gfx/device_layer.h"
#include "platform/headless/headless_host.h"
#include "platform/memory_resources.h"
#include "script/compiler.h"
#include "script/show.h"
#include "support/scripted_music.h"

namespace demo {
namespace {

// A device that does nothing, so the frame benchmark measures the timeline, not a log.
class NullDevice final : public RefCounted<RenderDevice> {
 public:
  HResult Clear(uint32_t, const D3DRECT*, uint32_t, D3DCOLOR, float, uint32_t) override { return D3D_OK; }
  HResult BeginScene() override { return D3D_OK; }
  HResult EndScene() override { return D3D_OK; }
  HResult Present() override { return D3D_OK; }
  HResult SetRenderState(D3DRENDERSTATETYPE, uint32_t) override { return D3D_OK; }
  HResult SetTextureStageState(uint32_t, D3DTEXTURESTAGESTATETYPE, uint32_t) override { return D3D_OK; }
  HResult SetTexture(uint32_t, Texture*) override { return D3D_OK; }
  HResult SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override { return D3D_OK; }
  HResult SetMaterial(const D3DMATERIAL8*) override { return D3D_OK; }
  HResult SetLight(uint32_t, const D3DLIGHT8*) override { return D3D_OK; }
  HResult LightEnable(uint32_t, bool) override { return D3D_OK; }
  HResult SetVertexShader(uint32_t) override { return D3D_OK; }
  HResult DrawPrimitiveUP(D3DPRIMITIVETYPE, uint32_t, const void*, uint32_t) override { return D3D_OK; }
  HResult DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE, uint32_t, uint32_t, uint32_t, const void*, D3DFORMAT, const void*,
                                 uint32_t) override {
    return D3D_OK;
  }
  HResult SetStreamSource(uint32_t, VertexBuffer*, uint32_t) override { return D3D_OK; }
  HResult SetIndices(IndexBuffer*, uint32_t) override { return D3D_OK; }
  HResult DrawIndexedPrimitive(D3DPRIMITIVETYPE, uint32_t, uint32_t, uint32_t, uint32_t) override { return D3D_OK; }
  HResult CreateTexture(uint32_t, uint32_t, uint32_t, uint32_t, D3DFORMAT, D3DPOOL, Texture**) override {
    return D3DERR_INVALIDCALL;
  }
  HResult UpdateTexture(Texture*, Texture*) override { return D3DERR_INVALIDCALL; }
  HResult CreateVertexBuffer(uint32_t, uint32_t, uint32_t, D3DPOOL, VertexBuffer**) override {
    return D3DERR_INVALIDCALL;
  }
  HResult CreateIndexBuffer(uint32_t, uint32_t, D3DFORMAT, D3DPOOL, IndexBuffer**) override {
    return D3DERR_INVALIDCALL;
  }
};

class NullDirect3D final : public RefCounted<Direct3D> {
 public:
  uint32_t GetAdapterModeCount(uint32_t) override { return 0; }
  HResult EnumAdapterModes(uint32_t, uint32_t, D3DDISPLAYMODE*) override { return D3DERR_INVALIDCALL; }
  HResult GetAdapterDisplayMode(uint32_t, D3DDISPLAYMODE* out) override {
    *out = {640, 480, 60, D3DFMT_R5G6B5};
    return D3D_OK;
  }
  HResult CreateDevice(uint32_t, D3DDEVTYPE, WindowHandle, uint32_t, D3DPRESENT_PARAMETERS*,
                       RenderDevice** device) override {
    *device = new NullDevice;
    return D3D_OK;
  }
};

Direct3D* nullFactory(void*, uint32_t) { return new NullDirect3D; }

// A fresh show per run, as the entry point makes one.
struct BenchShow {
  HeadlessHost host;
  test::ScriptedMusic music;
  DeviceLayer layer{nullFactory, nullptr};
  Show show{host, layer, music};
  BenchShow() { layer.createDevice(nullptr, 640, 480, 16, 1); }
};

bool compileText(Show& show, const std::string& text) {
  Reader reader;
  auto bytes = std::make_unique<uint8_t[]>(text.size());
  std::memcpy(bytes.get(), text.data(), text.size());
  reader.assign(std::move(bytes), static_cast<uint32_t>(text.size()));
  return compileScript(show, reader);
}

// 27 blocks of one statement per command kind (labels and relative times included), topped up to
// 1000 statements with end last.
std::string thousandStatements() {
  std::string text = "loadtexture <t> \"pic.tga\" 256 256 1\nloadmusic <m> \"song.xm\"\nloadscene <s> \"a.3ds\"\n"
                     "makeimage <i> <t> 0 0 1 +1\nmakegridimage <g> <t> 64 64\nmakeparticles <p> <i> 500\n"
                     "makeblobs <b>\nmake2dblobs <f> <g>\nstart\nplaymusic <m>\n";
  for (int block = 0; text.size() < 60000; ++block) {
    const std::string label = "part" + std::to_string(block);
    text += "at " + std::to_string(block) + ":00:000 [" + label + "]\n";
    text += "  playscene <s> 0 @25 +2:000\n  playscene <s> 100 +50 [" + label + "]+2:000\n";
    text += "  showimage <i> mixalpha +1:000\n  fadeimage <i> 0 0xffffffff +1:000\n  blurimage <i> 0 10 +1:000\n";
    text += "  spackblurimage <i> 0 20 50 100 +1:000\n  moveimage <i> 0 +1 0 1 +1:000\n";
    text += "  sizeimage <i> 1 0.5 1 0.5 +1:000\n  showparticles <p> +1:000\n  fadebg 0 0xff000000 +1:000\n";
    text += "  verteximage <i> <s> \"Box01\" +1:000\n  playblobs <b> <i> +1:000\n  show2dblobs <f> +1:000\n";
    text += "  fadesalpha <s> 1 0 +1:000\n  fadewalpha <s> 0 1 +1:000\n  showtunnel <s> <g> 0 100 +1:000\n";
    text += "  partobject <p> <s> \"Box01\"\n  partpos <p> -1 -1 -1 +2 +2 +2\n  partspd <p> 0 0 0 1 1 1\n";
    text += "  partacc <p> 0 -1 0 0 -1 0\n  partlife <p> 0.01 1 2\n  setfarplane <s> 5000\n";
    text += "  selectcam <s> \"Camera01\" # a comment\n  loadtexture <t" + std::to_string(block) +
            "> \"x.tga\" 4 4 0\n  freetexture <t" + std::to_string(block) + ">\n  freeimage <i>\n";
    text += "  makeimage <i> <t> 0 0 1 1\n  loadmusic <m> \"song.xm\"\n  loadscene <s> \"a.3ds\"\n";
    text += "  makeparticles <p> <i> 10\n  makeblobs <b>\n  make2dblobs <f> <g>\n  makegridimage <g> <t> 8 8\n";
    text += "  playmusic <m>\n  at [" + label + "]+30:000\n";
    if (block == 26) break;
  }
  // Fill up to 999 statements; end is the thousandth.
  for (auto lines = std::count(text.begin(), text.end(), '\n'); lines < 999; ++lines) text += "  fadebg 0 1 +1:000\n";
  return text + "end\n";
}

void BM_CompileThousandStatements(benchmark::State& state) {
  const std::string text = thousandStatements();
  size_t instructions = 0;
  for (auto _ : state) {
    BenchShow show;
    if (!compileText(show.show, text)) state.SkipWithError("the script does not compile");
    instructions = show.show.timeline.program().size();
  }
  state.counters["instructions"] = static_cast<double>(instructions);
}
BENCHMARK(BM_CompileThousandStatements)->Unit(benchmark::kMicrosecond);

// 999 timed instructions on images and the background, all active, held by a final at.
std::string fullActiveTable() {
  const char* kinds[] = {"showimage <a> add 50:000", "fadeimage <a> 0 0xffffffff 50:000",
                         "moveimage <b> 0 1 0 1 50:000", "sizeimage <b> 1 0 1 0 50:000",
                         "blurimage <b> 0 10 50:000",    "fadebg 0 0xff000000 50:000",
                         "verteximage <a> <s> \"x\" 50:000"};
  std::string text;
  for (int i = 0; i < 999; ++i) text += std::string(kinds[i % 7]) + "\n";
  return text + "at 60:000\n";
}

void BM_FrameWithThousandActiveSlots(benchmark::State& state) {
  BenchShow bench;
  Show& show = bench.show;
  for (const char* name : {"a", "b"})
    show.names.images.declareName(name)->object = show.objects.keep(std::make_unique<Image>());
  show.names.scenes.declareName("s");
  if (!compileText(show, fullActiveTable())) state.SkipWithError("the script does not compile");
  show.timeline.stepInstructions(show);
  uint32_t now = 0;
  for (auto _ : state) {
    show.frame.demoTime = now;
    now = (now + 16) % 50000;
    show.timeline.stepInstructions(show);
    show.frame.sceneOpen = false;
    show.timeline.runActive(show);
  }
  state.counters["active"] = static_cast<double>(show.timeline.activeCount);
}
BENCHMARK(BM_FrameWithThousandActiveSlots)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace demo
