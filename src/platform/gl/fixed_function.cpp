#include "platform/gl/fixed_function.h"

#include <cmath>
#include <cstring>

namespace demo {

void transformPoint(const D3DMATRIX& m, const float in[3], float out[4]) {
  for (int c = 0; c < 4; ++c) out[c] = in[0] * m(0, c) + in[1] * m(1, c) + in[2] * m(2, c) + m(3, c);
}

FixedFunctionState::FixedFunctionState() {
  std::memset(renderStates, 0, sizeof renderStates);
  const std::pair<D3DRENDERSTATETYPE, uint32_t> defaults[] = {
      {D3DRS_ZENABLE, D3DZB_TRUE},
      {D3DRS_FILLMODE, D3DFILL_SOLID},
      {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
      {D3DRS_ZWRITEENABLE, 1},
      {D3DRS_SRCBLEND, D3DBLEND_ONE},
      {D3DRS_DESTBLEND, D3DBLEND_ZERO},
      {D3DRS_CULLMODE, D3DCULL_CCW},
      {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
      {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
      {D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu},
      {D3DRS_CLIPPING, 1},
      {D3DRS_LIGHTING, 1},
      {D3DRS_COLORVERTEX, 1},
      {D3DRS_LOCALVIEWER, 1},
      {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
      {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
      {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
      {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL},
      {D3DRS_BLENDOP, D3DBLENDOP_ADD},
  };
  for (const auto& [state, value] : defaults) renderStates[state] = value;

  for (uint32_t stage = 0; stage < MaxStages; ++stage) {
    uint32_t* s = stageStates[stage];
    std::memset(s, 0, sizeof stageStates[stage]);
    s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    s[D3DTSS_TEXCOORDINDEX] = stage;
    s[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
    s[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
    s[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
    s[D3DTSS_MINFILTER] = D3DTEXF_POINT;
    s[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
    s[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
    textureMatrices[stage] = identityMatrix();
  }
  world = view = projection = identityMatrix();
}

D3DMATRIX* FixedFunctionState::transform(D3DTRANSFORMSTATETYPE state) {
  if (state == D3DTS_WORLD) return &world;
  if (state == D3DTS_VIEW) return &view;
  if (state == D3DTS_PROJECTION) return &projection;
  if (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + MaxStages) return &textureMatrices[state - D3DTS_TEXTURE0];
  return nullptr;
}

D3DLIGHT8 defaultLight() {
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {1, 1, 1, 0};
  light.Direction = {0, 0, 1};
  return light;
}

namespace {

bool readsTexture(uint32_t argument) { return (argument & D3DTA_SELECTMASK) == D3DTA_TEXTURE; }

// Only point sampling needs the shader's tie nudge. Under linear filtering it would move a result by a
// negligible fraction of a step in exact arithmetic, but a sampler that rounds the texel coordinate
// (llvmpipe's, to 1/256 of a texel) turns that into a whole step wherever the nudge carries the
// coordinate over a rounding boundary, and a colour blend that squares the result makes it two.
bool pointSampled(const FixedFunctionState& state, uint32_t stage) {
  const auto point = [&](D3DTEXTURESTAGESTATETYPE filter) { return state.ts(stage, filter) <= D3DTEXF_POINT; };
  return point(D3DTSS_MAGFILTER) || point(D3DTSS_MINFILTER);
}

}  // namespace

uint32_t activeStages(const FixedFunctionState& state, const bool hasTexture[ShaderStages],
                      StageSetup setups[ShaderStages]) {
  uint32_t count = 0;
  for (uint32_t stage = 0; stage < ShaderStages; ++stage) {
    const uint32_t* s = state.stageStates[stage];
    const uint32_t op = s[D3DTSS_COLOROP];
    if (op == D3DTOP_DISABLE) break;
    const bool usesArg1 = op != D3DTOP_SELECTARG2, usesArg2 = op != D3DTOP_SELECTARG1;
    if (!hasTexture[stage] &&
        ((usesArg1 && readsTexture(s[D3DTSS_COLORARG1])) || (usesArg2 && readsTexture(s[D3DTSS_COLORARG2]))))
      break;
    StageSetup& out = setups[count++];
    out = {op, s[D3DTSS_COLORARG1], s[D3DTSS_COLORARG2], s[D3DTSS_ALPHAOP], s[D3DTSS_ALPHAARG1], s[D3DTSS_ALPHAARG2]};
    if (!hasTexture[stage]) {
      if (readsTexture(out.alphaArg1)) out.alphaArg1 = D3DTA_DIFFUSE;
      if (readsTexture(out.alphaArg2)) out.alphaArg2 = D3DTA_DIFFUSE;
    }
  }
  return count;
}

bool ShaderKey::operator<(const ShaderKey& other) const {
  return std::memcmp(fields, other.fields, sizeof fields) < 0;
}
bool ShaderKey::operator==(const ShaderKey& other) const {
  return std::memcmp(fields, other.fields, sizeof fields) == 0;
}

ShaderKey shaderKey(const FixedFunctionState& state, const bool hasTexture[ShaderStages]) {
  ShaderKey key;
  uint16_t* f = key.fields;
  StageSetup setups[ShaderStages];
  const uint32_t stages = activeStages(state, hasTexture, setups);
  f[ShaderKey::StageCount] = static_cast<uint16_t>(stages);
  for (uint32_t s = 0; s < stages; ++s) {
    uint16_t* stage = f + ShaderKey::Stage0 + (ShaderKey::Stage1 - ShaderKey::Stage0) * s;
    const StageSetup& st = setups[s];
    const uint32_t values[6] = {st.colorOp, st.colorArg1, st.colorArg2, st.alphaOp, st.alphaArg1, st.alphaArg2};
    bool readsTextureAtAll = false;
    for (int i = 0; i < 6; ++i) {
      stage[i] = static_cast<uint16_t>(values[i] & 0xFF);
      if (i % 3 != 0 && readsTexture(values[i])) readsTextureAtAll = true;
    }
    stage[6] = readsTextureAtAll;
    // Coordinates: 0 set 0, 1 camera-space normal, 2 position, 3 reflection vector, 4 none.
    const uint32_t index = state.ts(s, D3DTSS_TEXCOORDINDEX);
    const uint32_t generate = index >> 16, set = index & 0xFFFF;
    const bool fromSetZero = generate == 0 && set == 0 && (state.fvf & D3DFVF_TEX1);
    stage[7] = static_cast<uint16_t>(generate != 0 && generate <= 3 ? generate : fromSetZero ? 0 : 4);
    stage[8] = state.ts(s, D3DTSS_TEXTURETRANSFORMFLAGS) != D3DTTFF_DISABLE;
    // D3DRS_WRAP0 belongs to coordinate set 0, so it only reaches stages that read that set.
    stage[9] = fromSetZero ? static_cast<uint16_t>(state.rs(D3DRS_WRAP0) & (D3DWRAP_U | D3DWRAP_V)) : 0;
    stage[10] = readsTextureAtAll && pointSampled(state, s);
  }
  const bool lighting = state.rs(D3DRS_LIGHTING) != 0;
  f[ShaderKey::Lighting] = lighting;
  if (lighting) {
    // Unlit vertices carry no specular colour, so the add only matters with lighting on.
    f[ShaderKey::SpecularAdd] = state.rs(D3DRS_SPECULARENABLE) != 0;
    f[ShaderKey::LightCount] = static_cast<uint16_t>(cameraLightCount(state));
    f[ShaderKey::LocalViewer] = state.rs(D3DRS_LOCALVIEWER) != 0;
    f[ShaderKey::Normalize] = state.rs(D3DRS_NORMALIZENORMALS) != 0;
    // With COLORVERTEX a material colour may come from the vertex's diffuse colour; the show's
    // vertices carry no specular colour, so COLOR2 falls back to the material as Direct3D does.
    const bool vertexColour = state.rs(D3DRS_COLORVERTEX) && (state.fvf & D3DFVF_DIFFUSE);
    const auto source = [&](D3DRENDERSTATETYPE s) -> uint16_t {
      return vertexColour && state.rs(s) == D3DMCS_COLOR1;
    };
    f[ShaderKey::DiffuseSource] = source(D3DRS_DIFFUSEMATERIALSOURCE);
    f[ShaderKey::AmbientSource] = source(D3DRS_AMBIENTMATERIALSOURCE);
    f[ShaderKey::SpecularSource] = source(D3DRS_SPECULARMATERIALSOURCE);
    f[ShaderKey::EmissiveSource] = source(D3DRS_EMISSIVEMATERIALSOURCE);
  }
  return key;
}

uint32_t cameraLightCount(const FixedFunctionState& state) {
  uint32_t count = 0;
  for (const auto& [index, enabled] : state.lightEnabled)
    if (enabled && count < MaxActiveLights) ++count;
  return count;
}

std::vector<CameraLight> cameraLights(const FixedFunctionState& state) {
  std::vector<CameraLight> out;
  for (const auto& [index, enabled] : state.lightEnabled) {
    if (!enabled) continue;
    if (out.size() == MaxActiveLights) break;
    const auto found = state.lights.find(index);
    const D3DLIGHT8 l = found == state.lights.end() ? defaultLight() : found->second;
    CameraLight c{};
    const auto copy = [](const D3DCOLORVALUE& v, float* to) { to[0] = v.r, to[1] = v.g, to[2] = v.b, to[3] = v.a; };
    copy(l.Diffuse, c.diffuse);
    copy(l.Specular, c.specular);
    copy(l.Ambient, c.ambient);
    // Lights live in world space; the world matrix never moves them, the view does.
    if (l.Type == D3DLIGHT_DIRECTIONAL) {
      const D3DMATRIX& v = state.view;
      const float d[3] = {l.Direction.x, l.Direction.y, l.Direction.z};
      float cam[3];
      for (int k = 0; k < 3; ++k) cam[k] = d[0] * v(0, k) + d[1] * v(1, k) + d[2] * v(2, k);
      const float length = std::sqrt(cam[0] * cam[0] + cam[1] * cam[1] + cam[2] * cam[2]);
      const float scale = length > 0 ? -1.0f / length : 0.0f;
      c.position[0] = cam[0] * scale, c.position[1] = cam[1] * scale, c.position[2] = cam[2] * scale;
      c.position[3] = 0;
      c.attenuation[0] = 1;
    } else {
      // Spot lights are lit as point lights: the show has none.
      const float p[3] = {l.Position.x, l.Position.y, l.Position.z};
      float cam[4];
      transformPoint(state.view, p, cam);
      c.position[0] = cam[0], c.position[1] = cam[1], c.position[2] = cam[2], c.position[3] = 1;
      c.attenuation[0] = l.Attenuation0, c.attenuation[1] = l.Attenuation1, c.attenuation[2] = l.Attenuation2;
      c.attenuation[3] = l.Range;
    }
    out.push_back(c);
  }
  return out;
}

void normalMatrix(const D3DMATRIX& m, float out[9]) {
  // Row vectors: n' = n × (M⁻¹)ᵀ, which for column vectors is M⁻¹ n.
  const float a = m(0, 0), b = m(0, 1), c = m(0, 2), d = m(1, 0), e = m(1, 1), f = m(1, 2), g = m(2, 0),
              h = m(2, 1), i = m(2, 2);
  const float cof[9] = {e * i - f * h, c * h - b * i, b * f - c * e, f * g - d * i, a * i - c * g,
                        c * d - a * f, d * h - e * g, b * g - a * h, a * e - b * d};
  const float det = a * cof[0] + b * cof[3] + c * cof[6];
  const float inv = det != 0 ? 1.0f / det : 0.0f;
  // cof is the adjugate of M, so M⁻¹ = cof / det, row-major.
  for (int k = 0; k < 9; ++k) out[k] = cof[k] * inv;
}

uint32_t VertexSource::indexAt(uint32_t i) const {
  if (!indices) return i;
  if (indexSize == 4) {
    uint32_t v;
    std::memcpy(&v, static_cast<const uint8_t*>(indices) + size_t{i} * 4, 4);
    return v;
  }
  uint16_t v;
  std::memcpy(&v, static_cast<const uint8_t*>(indices) + size_t{i} * 2, 2);
  return v;
}

void wireframeEdges(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const VertexSource& source,
                    const D3DMATRIX& worldViewProjection, uint32_t cullMode, std::vector<uint32_t>& lines) {
  lines.clear();
  lines.reserve(size_t{primitiveCount} * 6);
  auto clip = [&](uint32_t index, float out[4]) {
    float p[3];
    std::memcpy(p, source.vertices + size_t{index} * source.stride, sizeof p);
    transformPoint(worldViewProjection, p, out);
  };
  for (uint32_t t = 0; t < primitiveCount; ++t) {
    uint32_t k[3];
    if (type == D3DPT_TRIANGLELIST) {
      k[0] = 3 * t, k[1] = 3 * t + 1, k[2] = 3 * t + 2;
    } else if (type == D3DPT_TRIANGLESTRIP) {
      // Every second triangle of a strip is wound the other way round.
      k[0] = t + (t & 1), k[1] = t + 1 - (t & 1), k[2] = t + 2;
    } else {
      k[0] = 0, k[1] = t + 1, k[2] = t + 2;
    }
    const uint32_t v[3] = {source.indexAt(k[0]), source.indexAt(k[1]), source.indexAt(k[2])};
    if (cullMode != D3DCULL_NONE) {
      float a[4], b[4], c[4];
      clip(v[0], a), clip(v[1], b), clip(v[2], c);
      // The sign of det[x y w] is the winding in clip space, valid for the visible part of the
      // triangle even where some w is negative: positive = counter-clockwise as seen on screen
      // (clip space has y up, and the screen shows it the same way up).
      const double det = double{a[0]} * (double{b[1]} * c[3] - double{b[3]} * c[1]) -
                         double{a[1]} * (double{b[0]} * c[3] - double{b[3]} * c[0]) +
                         double{a[3]} * (double{b[0]} * c[1] - double{b[1]} * c[0]);
      if ((cullMode == D3DCULL_CCW && det > 0) || (cullMode == D3DCULL_CW && det < 0)) continue;
    }
    // The order in which Mesa's polygon-mode stage (draw_pipe_unfilled.c) draws a triangle's edges,
    // which is what Wine's wireframe comes to: where lines overlap (near a vertex, along a thin
    // triangle) the last one drawn shows, and every line leaves out its end pixel.
    lines.insert(lines.end(), {v[2], v[0], v[0], v[1], v[1], v[2]});
  }
}

}  // namespace demo
