#include "gfx/device_layer.h"

#include <gtest/gtest.h>

#include "support/recording_device.h"

namespace demo {
namespace {

using test::RecordingDevice;
using test::RecordingDirect3D;

class DeviceLayerTest : public ::testing::Test {
 protected:
  DeviceLayerTest() : d3d(new RecordingDirect3D), layer(test::recordingDirect3DFactory, d3d) {}
  ~DeviceLayerTest() override {
    layer.destroyDevice();
    d3d->Release();
  }
  RecordingDevice& device() { return *d3d->lastDevice; }
  int create(uint32_t flags = 0) { return layer.createDevice(nullptr, 640, 480, 16, flags); }

  RecordingDirect3D* d3d;
  DeviceLayer layer;
};

TEST_F(DeviceLayerTest, FullScreenAsksForA16BitBackBufferAtTheHighestMatchingRefreshRate) {
  ASSERT_EQ(create(0), 0);
  const D3DPRESENT_PARAMETERS& p = d3d->attempts.at(0).parameters;
  EXPECT_EQ(p.BackBufferWidth, 640u);
  EXPECT_EQ(p.BackBufferHeight, 480u);
  EXPECT_EQ(p.BackBufferFormat, D3DFMT_R5G6B5);
  EXPECT_EQ(p.BackBufferCount, 1u);
  EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
  EXPECT_EQ(p.Windowed, 0);
  EXPECT_EQ(p.EnableAutoDepthStencil, 1);
  EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
  EXPECT_EQ(p.FullScreen_RefreshRateInHz, 75u);  // 85 Hz is listed for X8R8G8B8 only
  EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_ONE);
  EXPECT_EQ(layer.screenWidth(), 640);
  EXPECT_EQ(layer.screenHeight(), 480);
}

TEST_F(DeviceLayerTest, WindowedTakesTheDesktopModeAndOtherDepthsTheirFormats) {
  ASSERT_EQ(create(1), 0);
  const D3DPRESENT_PARAMETERS& p = d3d->attempts.at(0).parameters;
  EXPECT_EQ(p.BackBufferWidth, 1024u);
  EXPECT_EQ(p.BackBufferHeight, 768u);
  EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(p.Windowed, 1);
  EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
  EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_DEFAULT);
  EXPECT_EQ(layer.screenWidth(), 1024);

  layer.destroyDevice();
  ASSERT_EQ(layer.createDevice(nullptr, 800, 600, 24, 0), 0);
  EXPECT_EQ(d3d->attempts.back().parameters.BackBufferFormat, D3DFMT_R8G8B8);
  EXPECT_EQ(d3d->attempts.back().parameters.FullScreen_RefreshRateInHz, 0u);  // no 800 x 600 mode listed
  layer.destroyDevice();
  ASSERT_EQ(layer.createDevice(nullptr, 640, 480, 8, 0), 0);
  EXPECT_EQ(d3d->attempts.back().parameters.BackBufferFormat, D3DFMT_X8R8G8B8);  // the desktop's
}

TEST_F(DeviceLayerTest, FallsBackFromHardwareToSoftwareVertexProcessingToTheReferenceDevice) {
  ASSERT_EQ(create(), 0);
  EXPECT_FALSE(layer.softwareVertexProcessing());
  EXPECT_FALSE(layer.referenceDevice());
  layer.destroyDevice();

  d3d->attempts.clear();
  d3d->failingAttempts = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING}};
  ASSERT_EQ(create(), 0);
  EXPECT_TRUE(layer.softwareVertexProcessing());
  EXPECT_FALSE(layer.referenceDevice());
  layer.destroyDevice();

  d3d->attempts.clear();
  d3d->failingAttempts.push_back({D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING});
  ASSERT_EQ(create(), 0);
  EXPECT_TRUE(layer.referenceDevice());
  ASSERT_EQ(d3d->attempts.size(), 3u);
  EXPECT_EQ(d3d->attempts[0].type, D3DDEVTYPE_HAL);
  EXPECT_EQ(d3d->attempts[0].behaviorFlags, D3DCREATE_HARDWARE_VERTEXPROCESSING);
  EXPECT_EQ(d3d->attempts[1].behaviorFlags, D3DCREATE_SOFTWARE_VERTEXPROCESSING);
  EXPECT_EQ(d3d->attempts[2].type, D3DDEVTYPE_REF);
  EXPECT_EQ(d3d->attempts[2].behaviorFlags, D3DCREATE_SOFTWARE_VERTEXPROCESSING);
  layer.destroyDevice();

  d3d->failingAttempts.push_back({D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING});
  EXPECT_EQ(create(), -1);
  EXPECT_EQ(layer.device(), nullptr);
}

TEST_F(DeviceLayerTest, FailsWithoutDirect3DOrDesktopMode) {
  DeviceLayer none(nullptr, nullptr);
  EXPECT_EQ(none.createDevice(nullptr, 640, 480, 16, 0), -1);
  d3d->failDisplayMode = true;
  EXPECT_EQ(create(), -1);
  EXPECT_TRUE(d3d->attempts.empty());
}

TEST_F(DeviceLayerTest, SetsTheFixedStatesOnceAfterCreation) {
  ASSERT_EQ(create(), 0);
  const RecordingDevice& dev = device();
  for (uint32_t stage : {0u, 1u}) {
    EXPECT_EQ(dev.textureStageState(stage, D3DTSS_MINFILTER), D3DTEXF_LINEAR);
    EXPECT_EQ(dev.textureStageState(stage, D3DTSS_MAGFILTER), D3DTEXF_LINEAR);
  }
  EXPECT_EQ(dev.textureStageState(1, D3DTSS_TEXTURETRANSFORMFLAGS), D3DTTFF_COUNT2);
  EXPECT_EQ(dev.textureStageState(1, D3DTSS_TEXCOORDINDEX), D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
  EXPECT_EQ(dev.renderState(D3DRS_SPECULARENABLE), 1u);
  const D3DMATRIX& t = dev.transform(D3DTS_TEXTURE1);
  const float expected[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1, 0, 0.5f, 0.5f, 0, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(t.m[i], expected[i]) << i;
  EXPECT_EQ(layer.alphaScale(), 1.0f);
}

TEST_F(DeviceLayerTest, DestroyDeviceTwiceReleasesEachInterfaceOnce) {
  ASSERT_EQ(create(), 0);
  d3d->AddRef();
  const uint32_t before = d3d->references();
  layer.destroyDevice();
  EXPECT_EQ(layer.device(), nullptr);
  EXPECT_EQ(layer.direct3d(), nullptr);
  EXPECT_EQ(d3d->references(), before - 1);
  layer.destroyDevice();
  EXPECT_EQ(d3d->references(), before - 1);
  d3d->Release();
}

TEST_F(DeviceLayerTest, SetMaterialScalesOnlyTheDiffuseAlpha) {
  ASSERT_EQ(create(), 0);
  layer.setAlphaScale(0.5f);
  D3DMATERIAL8 m{{1, 1, 1, 0.75f}, {1, 1, 1, 0.5f}, {0, 0, 0, 1}, {0, 0, 0, 1}, 3};
  layer.setMaterial(m);
  EXPECT_FLOAT_EQ(device().material().Diffuse.a, 0.375f);
  EXPECT_FLOAT_EQ(device().material().Ambient.a, 0.5f);
  EXPECT_FLOAT_EQ(m.Diffuse.a, 0.75f);  // the caller's material is untouched
}

class BindTest : public DeviceLayerTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(create(), 0);
    for (Texture*& t : textures) ASSERT_EQ(device().CreateTexture(4, 4, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &t), 0);
    device().clearLog();
  }
  void TearDown() override {
    layer.destroyDevice();  // the device lets go of what is bound first
    for (Texture* t : textures) t->Release();
  }
  Texture* textures[2] = {};
};

TEST_F(BindTest, BindTextureMakesNoCallWhenNothingChanges) {
  layer.bindTexture(textures[0]);
  EXPECT_EQ(device().names(), std::vector<std::string>{"SetTexture"});
  device().clearLog();
  layer.bindTexture(textures[0]);
  EXPECT_TRUE(device().calls.empty());
  layer.bindTexture(nullptr);
  EXPECT_EQ(device().calls.at(0).toString(), "SetTexture(0, 0)");
}

TEST_F(BindTest, BindTextureClearsStageOneOnlyWhenItHoldsATexture) {
  layer.bindTextures(textures[0], textures[1]);
  EXPECT_EQ(device().texture(1), textures[1]);
  device().clearLog();
  layer.bindTexture(textures[0]);
  ASSERT_EQ(device().calls.size(), 2u);
  EXPECT_EQ(device().calls[0].toString(), "SetTexture(1, 0)");
  EXPECT_EQ(device().calls[1].toString(), "SetTextureStageState(1, 1, 1)");
  device().clearLog();
  layer.bindTexture(textures[0]);
  EXPECT_TRUE(device().calls.empty());
}

TEST_F(BindTest, BindTexturesSetsStageOneOnlyOnChangeAndDisablesItForNull) {
  layer.bindTextures(textures[0], textures[1]);
  EXPECT_EQ(device().count("SetTexture"), 2u);
  EXPECT_EQ(device().count("SetTextureStageState"), 0u);  // the caller enables stage 1 itself
  device().clearLog();
  layer.bindTextures(textures[0], textures[1]);
  EXPECT_TRUE(device().calls.empty());
  layer.bindTextures(textures[1], nullptr);
  ASSERT_EQ(device().calls.size(), 3u);
  EXPECT_EQ(device().calls[2].toString(), "SetTextureStageState(1, 1, 1)");
  EXPECT_EQ(device().texture(0), textures[1]);
}

TEST_F(DeviceLayerTest, PushingPastTheTopIsIgnoredAndDepthsAreRememberedPerStack) {
  ASSERT_EQ(create(), 0);
  for (int i = 0; i < 63; ++i) layer.pushTransform();
  EXPECT_EQ(layer.stackDepth(0), 63);
  layer.topTransform().m[0] = 7;
  layer.pushTransform();  // the 64th push
  EXPECT_EQ(layer.stackDepth(0), 63);
  EXPECT_EQ(layer.topTransform().m[0], 7);
  layer.popTransform();
  EXPECT_EQ(layer.stackDepth(0), 62);
  EXPECT_EQ(layer.topTransform().m[0], 1);  // the copy made by the 62nd push

  layer.selectTransformStack(1);
  EXPECT_EQ(layer.stackDepth(1), 0);
  layer.pushTransform();
  layer.pushTransform();
  layer.selectTransformStack(0);
  EXPECT_EQ(layer.stackDepth(0), 62);
  layer.selectTransformStack(1);
  EXPECT_EQ(layer.stackDepth(1), 2);
  for (int i = 0; i < 5; ++i) layer.popTransform();
  EXPECT_EQ(layer.stackDepth(1), 0);  // popping at the bottom is ignored

  layer.resetTransforms();
  EXPECT_EQ(layer.selectedStack(), 0);
  EXPECT_EQ(layer.stackDepth(0), 0);
  EXPECT_EQ(layer.stackDepth(1), 0);
}

TEST_F(DeviceLayerTest, ApplyTransformSendsTheSelectedStacksTop) {
  ASSERT_EQ(create(), 0);
  layer.pushTransform();
  layer.topTransform()(3, 0) = 5;
  layer.applyTransform();
  layer.selectTransformStack(7);  // any index but 0 is the projection
  layer.topTransform()(2, 3) = 1;
  layer.applyTransform();
  EXPECT_EQ(device().transform(D3DTS_WORLD)(3, 0), 5);
  EXPECT_EQ(device().transform(D3DTS_PROJECTION)(2, 3), 1);
  EXPECT_EQ(device().transform(D3DTS_PROJECTION)(3, 0), 0);
}

}  // namespace
}  // namespace demo
