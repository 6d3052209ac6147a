#include "fx/blob_system.h"

#include <cmath>
#include <new>

#include "scene/look_at.h"
#include "scene/perspective.h"

namespace demo {

namespace {

constexpr float Pi = 3.1415927f;
constexpr float FieldOfView = 1.5707964f;
constexpr int LightSlots = 8;

// The camera three units in front of the balls, looking at them.
D3DMATRIX blobView() { return lookAt({0, 0, -3}, {0, 0, 0}, {0, 1, 0}, 0.0f); }

D3DLIGHT8 turningLight(float omega) {
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {0.9f, 0.9f, 0.9f, 0.0f};
  light.Direction = {std::sin(omega), 0.0f, std::cos(omega)};
  light.Attenuation0 = 0.2f;
  light.Attenuation1 = 1.0f;
  return light;
}

// What the two passes need whatever drew before them: images turn lighting off and change stage 0's
// alpha operation, scenes switch on lights of their own. Light 0 is the only light on the balls.
void lightAndStages(RenderDevice& device, float omega) {
  const D3DLIGHT8 light = turningLight(omega);
  device.SetLight(0, &light);
  device.SetRenderState(D3DRS_LIGHTING, 1);
  device.LightEnable(0, true);
  for (uint32_t other = 1; other < LightSlots; ++other) device.LightEnable(other, false);
  // The environment map lit by the material; alpha from both, so the solid stays opaque. Without a
  // texture (the wireframe pass) Direct3D skips the stage and the lit colour and alpha pass through.
  device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  device.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  device.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_CURRENT);
  device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  device.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  device.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
}

void setBall(BlobSource& ball, float strength) {
  ball.radius = 0.8f;
  ball.radiusSq = 0.64f;
  ball.invRadiusSq = 1.5625f;
  ball.strength = strength;
}

}  // namespace

BlobSystem::~BlobSystem() {
  if (batch) batch->clearSources();
}

bool BlobSystem::initialise() {
  batch.reset(new (std::nothrow) BlobBatch);
  if (!batch || !batch->allocateBuffers() || !batch->allocateGrid(Cells, Cells, Cells)) {
    batch.reset();
    return false;
  }
  batch->threshold = 0.7f;
  batch->boundsMin = {-3.0f, -3.0f, -3.0f};
  batch->boundsMax = {3.0f, 3.0f, 3.0f};
  for (int b = 0; b < BallCount; ++b) {
    setBall(balls[b], b == 0 ? 0.5f : 1.5f);
    batch->addSource(balls[b]);
  }
  // The others are placed by the first draw.
  balls[0].position = {-0.6f, 0.0f, -0.5f};
  balls[1].position = {0.3f, 0.0f, -0.5f};
  batch->solidMaterial = {{0.9f, 0.9f, 0.9f, 1.0f}, {0.9f, 0.9f, 0.9f, 0.0f}, {}, {}, 0.0f};
  batch->wireMaterial = {{}, {}, {}, {1.0f, 1.0f, 1.0f, 0.0f}, 0.0f};
  batch->drawWire = 1;
  batch->drawSolid = 1;
  return true;
}

void moveBalls(float a, BlobSource (&balls)[BlobSystem::BallCount]) {
  using std::cos, std::sin;
  const float y0 = 0.5f * cos(0.3f * Pi * a);
  const float z0 = 0.5f * cos(0.7f * Pi * a) * sin(0.2f * Pi * a) - 0.5f;
  const float y1 = 0.5f * cos(0.23f * Pi * a);
  const float z1 = 0.5f * cos(0.65f * Pi * a) - 0.5f;
  balls[0].position = {0.5f * sin(Pi * a) - 0.6f, y0, z0};
  balls[1].position = {0.5f * cos(0.6f * Pi * a) * sin(0.1f * Pi * a) + 0.3f, y1, z1};
  balls[2].position = {0.5f * sin(0.4f * Pi * a) - 0.4f, y0, z0};
  balls[3].position = {0.5f * sin(0.2f * Pi * a) * cos(0.6f * Pi * a) + 0.2f, y1, z1};
  balls[4].position = {0.5f * sin(Pi * cos(Pi * a)) - 0.1f, y0, z0};
}

void BlobSystem::drawBlobs(DeviceLayer& layer, float phase, Image& image) {
  RenderDevice* device = layer.device();
  if (!batch || !device) return;
  const float omega = phase * Pi / 2;
  layer.setAlphaScale(1.0f);
  layer.selectTransformStack(1);
  layer.pushTransform();
  layer.topTransform() = perspective(FieldOfView, 1.0f, 1.0f, 1000.0f);
  layer.applyTransform();
  layer.selectTransformStack(0);
  layer.pushTransform();
  layer.topTransform() = blobView();
  layer.applyTransform();

  batch->texture = image.ownTexture;
  batch->wireMaterial = {{1.0f, 1.0f, 1.0f, 0.01f}, {}, {}, {}, 0.0f};
  batch->drawWire = 1;
  lightAndStages(*device, omega);
  device->SetVertexShader(FVF_XYZ_NORMAL_TEX1);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_ZWRITEENABLE, 1);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);

  moveBalls(phase, balls);
  batch->layer = &layer;
  batch->extract();
  batch->layer = nullptr;

  layer.selectTransformStack(1);
  layer.popTransform();
  layer.applyTransform();
  layer.selectTransformStack(0);
  layer.popTransform();
  layer.applyTransform();
}

std::unique_ptr<BlobSystem> createBlobSystem(DeviceLayer&) {
  std::unique_ptr<BlobSystem> system(new (std::nothrow) BlobSystem);
  if (!system || !system->initialise()) return nullptr;
  return system;
}

}  // namespace demo
