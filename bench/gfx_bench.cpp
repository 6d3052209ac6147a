// Hot paths of the graphics device: TGA decoding with the texture resampler, the 16-bit
// conversions images run on every blur change, and the headless frame loop every later effect is
// measured against.

#include <cstring>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "archive/reader.h"
#include "gfx/device_layer.h"
#include "gfx/pixel_convert.h"
#include "gfx/tga_image.h"
#include "platform/gl/gl_device.h"
#include "platform/headless/headless_graphics.h"
#include "writers/tga_writer.h"

namespace {

using namespace demo;

constexpr uint32_t Side = 512;

std::vector<uint8_t> photoLikeTga(bool runLength) {
  // Noise for the raw file; bands of equal pixels (as in drawn artwork) for the run-length one.
  std::vector<uint32_t> pixels(Side * Side);
  uint32_t seed = 1;
  for (uint32_t i = 0; i < pixels.size(); ++i) {
    seed = seed * 214013 + 2531011;
    pixels[i] = runLength ? 0xFF000000u | ((i / 7) % 97) * 0x020301u : seed;
  }
  TgaLayout layout;
  layout.imageType = runLength ? 10 : 2;
  layout.topToBottom = false;
  return writeTga(layout, Side, Side, pixels);
}

void decodeAndResample(benchmark::State& state, bool runLength) {
  const std::vector<uint8_t> file = photoLikeTga(runLength);
  std::vector<uint8_t> texture(Side * Side * 4);
  for (auto _ : state) {
    Reader reader;
    auto bytes = std::make_unique<uint8_t[]>(file.size());
    std::memcpy(bytes.get(), file.data(), file.size());
    reader.assign(std::move(bytes), static_cast<uint32_t>(file.size()));
    TgaImage image;
    if (decodeTga(image, reader) != 0) state.SkipWithError("decoding failed");
    resample(texture.data(), Side * 4, Side, Side, image.pixels.get(), image.width * 4, image.width, image.height);
    benchmark::DoNotOptimize(texture.data());
  }
  state.counters["Mpixel/s"] =
      benchmark::Counter(double(Side) * Side * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void BM_DecodeResample32(benchmark::State& state) { decodeAndResample(state, false); }
void BM_DecodeResampleRle32(benchmark::State& state) { decodeAndResample(state, true); }

void convert(benchmark::State& state, void (*conversion)(uint8_t*, int32_t, const uint8_t*, int32_t, uint32_t,
                                                          uint32_t)) {
  std::vector<uint8_t> source(Side * Side * 4);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 31);
  std::vector<uint8_t> destination(Side * Side * 2);
  for (auto _ : state) {
    conversion(destination.data(), Side * 2, source.data(), Side * 4, Side, Side);
    benchmark::DoNotOptimize(destination.data());
  }
  state.counters["Mpixel/s"] =
      benchmark::Counter(double(Side) * Side * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void BM_ConvertTo565(benchmark::State& state) { convert(state, convertTo565); }
void BM_ConvertTo4444(benchmark::State& state) { convert(state, convertTo4444); }

// Clear + present at 640 x 480 through the device layer, as the frame step does with no drawing.
void frames(benchmark::State& state, bool readBack) {
  HeadlessGraphicsConfig config;
  DeviceLayer layer(headlessDirect3DCreate, &config);
  if (layer.createDevice(nullptr, 640, 480, 32, 1) != 0) {
    state.SkipWithError("no headless OpenGL device (no EGL display)");
    return;
  }
  auto* device = static_cast<GlDevice*>(layer.device());
  std::vector<uint8_t> pixels;
  uint32_t colour = 0;
  for (auto _ : state) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u | colour++, 1.0f, 0);
    device->SetRenderState(D3DRS_AMBIENT, 0x80808080u);
    device->Present();
    if (readBack) device->readPixels(pixels);
  }
  state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Ten full-screen textured quads blended over each other ("mixalpha"), the load of a busy 2D part.
void BM_HeadlessTenBlendedQuads(benchmark::State& state) {
  HeadlessGraphicsConfig config;
  DeviceLayer layer(headlessDirect3DCreate, &config);
  if (layer.createDevice(nullptr, 640, 480, 32, 1) != 0) {
    state.SkipWithError("no headless OpenGL device (no EGL display)");
    return;
  }
  RenderDevice* device = layer.device();
  Texture* texture = nullptr;
  device->CreateTexture(256, 256, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &texture);
  layer.bindTexture(texture);
  device->SetRenderState(D3DRS_LIGHTING, 0);
  device->SetRenderState(D3DRS_ZENABLE, 0);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device->SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  const VertexColorTex quad[4] = {{-1, 1, 0.5f, 0x80FFFFFFu, 0, 0}, {1, 1, 0.5f, 0x80FFFFFFu, 1, 0},
                                  {-1, -1, 0.5f, 0x80FFFFFFu, 0, 1}, {1, -1, 0.5f, 0x80FFFFFFu, 1, 1}};
  auto frame = [&] {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    device->BeginScene();
    for (int i = 0; i < 10; ++i) device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(VertexColorTex));
    device->EndScene();
    device->Present();
  };
  frame();  // the first draw compiles the shaders for the rasteriser
  for (auto _ : state) frame();
  state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  layer.destroyDevice();
  texture->Release();
}

void BM_HeadlessClearPresent(benchmark::State& state) { frames(state, false); }
void BM_HeadlessClearPresentReadBack(benchmark::State& state) { frames(state, true); }

BENCHMARK(BM_DecodeResample32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeResampleRle32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertTo565)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertTo4444)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeadlessClearPresent)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HeadlessClearPresentReadBack)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HeadlessTenBlendedQuads)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
