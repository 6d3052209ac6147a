#pragma once
// The CPU side of the fixed-function pipeline the OpenGL device emulates: Direct3D 8's state with
// its defaults, and what is derived from it before a draw (the stages that run, the lights in camera
// space, the normal matrix, wireframe edges with culling). Free of OpenGL, so it is testable alone.

#include <cstdint>
#include <map>
#include <vector>

#include "platform/matrix.h"
#include "platform/render_types.h"

namespace demo {

constexpr uint32_t MaxRenderState = 256;
constexpr uint32_t MaxStages = 8;
constexpr uint32_t MaxStageState = 32;
constexpr uint32_t ShaderStages = 2;  // the stages the shaders implement; the show uses two
constexpr uint32_t MaxActiveLights = 8;
constexpr uint32_t MaxLightIndex = 4096;  // bounds the light table against a stray index

// (x, y, z, 1) × m, all four components.
void transformPoint(const D3DMATRIX& m, const float in[3], float out[4]);

// Direct3D 8's state at device creation (with an automatic depth buffer).
struct FixedFunctionState {
  FixedFunctionState();

  uint32_t renderStates[MaxRenderState];
  uint32_t stageStates[MaxStages][MaxStageState];
  D3DMATRIX world, view, projection;
  D3DMATRIX textureMatrices[MaxStages];
  D3DMATERIAL8 material{};
  std::map<uint32_t, D3DLIGHT8> lights;
  std::map<uint32_t, bool> lightEnabled;
  uint32_t fvf = 0;

  uint32_t rs(D3DRENDERSTATETYPE s) const { return renderStates[s]; }
  uint32_t ts(uint32_t stage, D3DTEXTURESTAGESTATETYPE t) const { return stageStates[stage][t]; }
  // D3DTS_* to the matrix it names; null for anything else.
  D3DMATRIX* transform(D3DTRANSFORMSTATETYPE state);
};

// The light Direct3D enables for an index that was never set: white, directional, along +z.
D3DLIGHT8 defaultLight();

// One stage as the fragment shader runs it: operation and arguments for colour and alpha.
struct StageSetup {
  uint32_t colorOp, colorArg1, colorArg2;
  uint32_t alphaOp, alphaArg1, alphaArg2;
};

// How many stages run: the loop stops at the first disabled colour operation, and at a stage whose
// colour operation reads a texture that is not set (that stage and all later ones are skipped, so
// a texture-less wireframe pass shows its lit colour). Alpha arguments naming a missing texture
// read the diffuse colour instead.
uint32_t activeStages(const FixedFunctionState& state, const bool hasTexture[ShaderStages],
                      StageSetup setups[ShaderStages]);

// What selects a shader program: everything the shaders treat as a compile-time constant, so that
// the rasteriser runs no branch it does not need. Fields of stages that do not run are zero, to
// keep the number of programs small.
struct ShaderKey {
  enum Field {
    StageCount,
    // Per stage: colour op, arg1, arg2, alpha op, arg1, arg2, texture read, coordinate source, transform,
    // wrap, tie nudge (the texture is point-sampled one way or both).
    Stage0,
    Stage1 = Stage0 + 11,
    SpecularAdd = Stage1 + 11,
    Lighting,
    LightCount,
    LocalViewer,
    Normalize,
    DiffuseSource,  // 1 = vertex colour, 0 = material; likewise the next three
    AmbientSource,
    SpecularSource,
    EmissiveSource,
    FieldCount
  };
  uint16_t fields[FieldCount] = {};
  bool operator<(const ShaderKey& other) const;
  bool operator==(const ShaderKey& other) const;
};
// The shader key of a draw in this state, with these stages having a texture.
ShaderKey shaderKey(const FixedFunctionState& state, const bool hasTexture[ShaderStages]);

// The enabled lights (the first MaxActiveLights in index order) ready for the vertex shader:
// positions in camera space, directions turned into the direction towards the light.
struct CameraLight {
  float position[4];  // w = 1 for point lights, 0 for directional ones (xyz = towards the light)
  float diffuse[4], specular[4], ambient[4];
  float attenuation[4];  // a0, a1, a2, range
};
std::vector<CameraLight> cameraLights(const FixedFunctionState& state);
uint32_t cameraLightCount(const FixedFunctionState& state);

// The 3 x 3 matrix that takes object-space normals to camera space, row-major for column vectors:
// the inverse of the world-view matrix's upper 3 x 3 (zero when it is singular).
void normalMatrix(const D3DMATRIX& worldView, float out[9]);

// Wireframe as lines: the three edges of every triangle of a list, strip or fan, skipping the ones
// the cull mode removes (their winding on screen is found from the clip-space positions).
// `indexAt(i)` gives vertex i of the primitive sequence; positions are the first 12 bytes of each
// vertex.
struct VertexSource {
  const uint8_t* vertices;
  uint32_t stride;
  const void* indices;  // null for non-indexed draws
  uint32_t indexSize;   // 2 or 4
  uint32_t indexAt(uint32_t i) const;
};
void wireframeEdges(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const VertexSource& source,
                    const D3DMATRIX& worldViewProjection, uint32_t cullMode, std::vector<uint32_t>& lines);

}  // namespace demo
