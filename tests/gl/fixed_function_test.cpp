// The CPU side of the emulated pipeline, without OpenGL.

#include "platform/gl/fixed_function.h"

#include <gtest/gtest.h>

namespace demo {
namespace {

TEST(FixedFunction, StartsInDirect3D8sDefaultState) {
  const FixedFunctionState s;
  EXPECT_EQ(s.rs(D3DRS_ZENABLE), D3DZB_TRUE);
  EXPECT_EQ(s.rs(D3DRS_ZFUNC), D3DCMP_LESSEQUAL);
  EXPECT_EQ(s.rs(D3DRS_CULLMODE), D3DCULL_CCW);
  EXPECT_EQ(s.rs(D3DRS_LIGHTING), 1u);
  EXPECT_EQ(s.rs(D3DRS_ALPHABLENDENABLE), 0u);
  EXPECT_EQ(s.rs(D3DRS_SRCBLEND), D3DBLEND_ONE);
  EXPECT_EQ(s.rs(D3DRS_DESTBLEND), D3DBLEND_ZERO);
  EXPECT_EQ(s.rs(D3DRS_SPECULARENABLE), 0u);
  EXPECT_EQ(s.rs(D3DRS_DITHERENABLE), 0u);
  EXPECT_EQ(s.ts(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
  EXPECT_EQ(s.ts(0, D3DTSS_ALPHAOP), D3DTOP_SELECTARG1);
  EXPECT_EQ(s.ts(1, D3DTSS_COLOROP), D3DTOP_DISABLE);
  EXPECT_EQ(s.ts(1, D3DTSS_TEXCOORDINDEX), 1u);
  EXPECT_EQ(s.ts(1, D3DTSS_ADDRESSU), D3DTADDRESS_WRAP);
  EXPECT_EQ(s.ts(0, D3DTSS_MINFILTER), D3DTEXF_POINT);
}

TEST(FixedFunction, StagesStopAtDisableOrAtAColourOperationOnAMissingTexture) {
  FixedFunctionState s;
  StageSetup setups[ShaderStages];
  const bool none[2] = {false, false}, first[2] = {true, false}, both[2] = {true, true};
  EXPECT_EQ(activeStages(s, none, setups), 0u);  // MODULATE(TEXTURE, CURRENT) without a texture
  EXPECT_EQ(activeStages(s, first, setups), 1u);
  s.stageStates[1][D3DTSS_COLOROP] = D3DTOP_ADD;
  EXPECT_EQ(activeStages(s, both, setups), 2u);
  EXPECT_EQ(activeStages(s, first, setups), 1u);
  EXPECT_EQ(activeStages(s, none, setups), 0u);  // a skipped stage takes every later one along
  // SELECTARG2 reads only CURRENT: the stage runs, its texture alpha argument falls back to diffuse.
  s.stageStates[0][D3DTSS_COLOROP] = D3DTOP_SELECTARG2;
  s.stageStates[1][D3DTSS_COLOROP] = D3DTOP_DISABLE;
  ASSERT_EQ(activeStages(s, none, setups), 1u);
  EXPECT_EQ(setups[0].alphaArg1, D3DTA_DIFFUSE);
  EXPECT_EQ(setups[0].alphaArg2, D3DTA_CURRENT);
}

TEST(FixedFunction, ShaderKeysIgnoreWhatDoesNotRunAndTellApartWhatDoes) {
  FixedFunctionState s;
  const bool none[2] = {false, false}, first[2] = {true, false};
  // Stage 1's settings cannot matter while stage 0 is skipped, nor lighting details while unlit.
  FixedFunctionState t = s;
  t.stageStates[1][D3DTSS_COLOROP] = D3DTOP_ADD;
  t.renderStates[D3DRS_LIGHTING] = 0;
  s.renderStates[D3DRS_LIGHTING] = 0;
  t.renderStates[D3DRS_LOCALVIEWER] = 0;
  t.renderStates[D3DRS_SPECULARENABLE] = 1;
  EXPECT_EQ(shaderKey(s, none), shaderKey(t, none));
  EXPECT_FALSE(shaderKey(s, none) == shaderKey(s, first));
  FixedFunctionState u = s;
  u.stageStates[0][D3DTSS_ALPHAOP] = D3DTOP_MODULATE;
  EXPECT_FALSE(shaderKey(s, first) == shaderKey(u, first));
  const ShaderKey key = shaderKey(u, first);
  EXPECT_EQ(key.fields[ShaderKey::StageCount], 1);
  EXPECT_EQ(key.fields[ShaderKey::Stage0 + 3], D3DTOP_MODULATE);
  EXPECT_EQ(key.fields[ShaderKey::Stage0 + 7], 4);  // no FVF set yet: no coordinates to read
}

TEST(FixedFunction, OnlyPointSampledStagesNudgeTheirCoordinates) {
  FixedFunctionState s;
  s.renderStates[D3DRS_LIGHTING] = 0;
  const bool first[2] = {true, false};
  constexpr int Nudge = ShaderKey::Stage0 + 10;
  EXPECT_EQ(shaderKey(s, first).fields[Nudge], 1);  // POINT by default
  s.stageStates[0][D3DTSS_MAGFILTER] = D3DTEXF_LINEAR;
  EXPECT_EQ(shaderKey(s, first).fields[Nudge], 1);  // still point-sampled when minified
  s.stageStates[0][D3DTSS_MINFILTER] = D3DTEXF_LINEAR;
  // A nudge under linear filtering moves llvmpipe's quantised weights off Direct3D's.
  EXPECT_EQ(shaderKey(s, first).fields[Nudge], 0);
}

TEST(FixedFunction, LightsArePlacedThroughTheViewAndOnlyEightAreUsed) {
  FixedFunctionState s;
  s.view = identityMatrix();
  s.view(3, 2) = 10;  // camera 10 units back
  D3DLIGHT8 point{};
  point.Type = D3DLIGHT_POINT;
  point.Position = {1, 2, 3};
  point.Range = 7;
  s.lights[5] = point;
  s.lightEnabled[5] = true;
  s.lightEnabled[9] = true;  // never set: Direct3D's default light
  auto lights = cameraLights(s);
  ASSERT_EQ(lights.size(), 2u);
  EXPECT_FLOAT_EQ(lights[0].position[2], 13);
  EXPECT_FLOAT_EQ(lights[0].position[3], 1);
  EXPECT_FLOAT_EQ(lights[0].attenuation[3], 7);
  EXPECT_FLOAT_EQ(lights[1].position[2], -1);  // towards a light shining along +z
  EXPECT_FLOAT_EQ(lights[1].diffuse[0], 1);
  for (uint32_t i = 20; i < 30; ++i) s.lightEnabled[i] = true;
  EXPECT_EQ(cameraLights(s).size(), MaxActiveLights);
}

TEST(FixedFunction, NormalMatrixUndoesScalingAndSurvivesACollapsedMatrix) {
  D3DMATRIX m = identityMatrix();
  m(0, 0) = 2;  // stretch x
  m(1, 0) = 1;  // shear: y feeds x
  float n[9];
  normalMatrix(m, n);
  // The plane x = 0 maps to x = y; its normal (1, 0, 0) must end up perpendicular: (1, -1, 0) / 2.
  EXPECT_FLOAT_EQ(n[0] * 1, 0.5f);
  EXPECT_FLOAT_EQ(n[3] * 1, -0.5f);
  EXPECT_FLOAT_EQ(n[6] * 1, 0.0f);
  D3DMATRIX zero{};
  normalMatrix(zero, n);
  for (float v : n) EXPECT_EQ(v, 0.0f);
}

TEST(FixedFunction, WireframeEdgesSkipCulledTrianglesAndFollowStripWinding) {
  // Two triangles of a strip on screen: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
  const float positions[4][3] = {{-1, 1, 0}, {1, 1, 0}, {-1, -1, 0}, {1, -1, 0}};
  const VertexSource source{reinterpret_cast<const uint8_t*>(positions), 12, nullptr, 2};
  std::vector<uint32_t> lines;
  wireframeEdges(D3DPT_TRIANGLESTRIP, 2, source, identityMatrix(), D3DCULL_CCW, lines);
  // Each triangle's edges from its last vertex round: (c, a), (a, b), (b, c).
  EXPECT_EQ(lines, (std::vector<uint32_t>{2, 0, 0, 1, 1, 2, 3, 2, 2, 1, 1, 3}));
  wireframeEdges(D3DPT_TRIANGLESTRIP, 2, source, identityMatrix(), D3DCULL_CW, lines);
  EXPECT_TRUE(lines.empty());
  const uint16_t indices[3] = {0, 2, 1};  // counter-clockwise on screen
  const VertexSource indexed{reinterpret_cast<const uint8_t*>(positions), 12, indices, 2};
  wireframeEdges(D3DPT_TRIANGLELIST, 1, indexed, identityMatrix(), D3DCULL_CCW, lines);
  EXPECT_TRUE(lines.empty());
  wireframeEdges(D3DPT_TRIANGLELIST, 1, indexed, identityMatrix(), D3DCULL_NONE, lines);
  EXPECT_EQ(lines, (std::vector<uint32_t>{1, 0, 0, 2, 2, 1}));
}

}  // namespace
}  // namespace demo
