// The device's state calls, and how that state reaches OpenGL before a draw: fixed OpenGL state
// (depth, culling, blending), shader uniforms (transforms, lighting, texture stages) and samplers,
// each group sent again only after a call changed it.

#include <epoxy/gl.h>

#include "platform/gl/gl_device.h"

namespace demo {

namespace {

constexpr uint32_t SupportedFvfBits = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;
constexpr uint32_t FvfPositionMask = 0x00E;

GLenum blendFactor(uint32_t blend) {
  switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE;
  }
}

GLenum blendEquation(uint32_t op) {
  switch (op) {
    case 2: return GL_FUNC_SUBTRACT;
    case 3: return GL_FUNC_REVERSE_SUBTRACT;
    case 4: return GL_MIN;
    case 5: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLenum compareFunction(uint32_t cmp) {
  switch (cmp) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    case D3DCMP_ALWAYS: return GL_ALWAYS;
    default: return GL_LEQUAL;
  }
}

GLint addressMode(uint32_t address) {
  switch (address) {
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
    case D3DTADDRESS_BORDER: return GL_CLAMP_TO_EDGE;  // ES 3.0 has no border colour
    default: return GL_REPEAT;
  }
}

GLint minFilter(uint32_t min, uint32_t mip) {
  const bool linear = min != D3DTEXF_POINT && min != D3DTEXF_NONE;
  if (mip == D3DTEXF_POINT) return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
  if (mip == D3DTEXF_LINEAR) return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
  return linear ? GL_LINEAR : GL_NEAREST;
}

void colorValue(D3DCOLOR c, float out[4]) {
  out[0] = ((c >> 16) & 255) / 255.0f, out[1] = ((c >> 8) & 255) / 255.0f, out[2] = (c & 255) / 255.0f;
  out[3] = (c >> 24) / 255.0f;
}

void uniformColor(int location, const D3DCOLORVALUE& c) { glUniform4f(location, c.r, c.g, c.b, c.a); }

}  // namespace

HResult GlDevice::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
  if (state >= MaxRenderState) return D3DERR_INVALIDCALL;
  state_.renderStates[state] = value;
  pipelineDirty_ = lightingDirty_ = true;
  return D3D_OK;
}

HResult GlDevice::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) {
  if (stage >= MaxStages || type >= MaxStageState) return D3DERR_INVALIDCALL;
  state_.stageStates[stage][type] = value;
  samplersDirty_ = true;
  return D3D_OK;
}

HResult GlDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  D3DMATRIX* slot = state_.transform(state);
  if (!matrix || !slot) return D3DERR_INVALIDCALL;
  *slot = *matrix;
  transformsDirty_ = true;
  if (state == D3DTS_VIEW) lightingDirty_ = true;  // lights are placed through the view
  return D3D_OK;
}

HResult GlDevice::SetMaterial(const D3DMATERIAL8* material) {
  if (!material) return D3DERR_INVALIDCALL;
  state_.material = *material;
  lightingDirty_ = true;
  return D3D_OK;
}

HResult GlDevice::SetLight(uint32_t index, const D3DLIGHT8* light) {
  if (!light || index >= MaxLightIndex || light->Type < D3DLIGHT_POINT || light->Type > D3DLIGHT_DIRECTIONAL)
    return D3DERR_INVALIDCALL;
  state_.lights[index] = *light;
  lightingDirty_ = true;
  return D3D_OK;
}

HResult GlDevice::LightEnable(uint32_t index, bool enable) {
  if (index >= MaxLightIndex) return D3DERR_INVALIDCALL;
  if (enable && !state_.lights.count(index)) state_.lights[index] = defaultLight();
  state_.lightEnabled[index] = enable;
  lightingDirty_ = true;
  return D3D_OK;
}

HResult GlDevice::SetVertexShader(uint32_t fvf) {
  if ((fvf & ~SupportedFvfBits) || (fvf & FvfPositionMask) != D3DFVF_XYZ) return D3DERR_INVALIDCALL;
  state_.fvf = fvf;
  lightingDirty_ = true;  // the material sources depend on the vertex colour being there
  return D3D_OK;
}

bool GlDevice::prepareDraw() {
  if (!selectProgram()) return false;
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  if (pipelineDirty_) applyPipeline();
  if (transformsDirty_) applyTransforms();
  if (lightingDirty_) applyLighting();
  if (samplersDirty_) applySamplers();
  bindTextures();
  pipelineDirty_ = transformsDirty_ = lightingDirty_ = samplersDirty_ = false;
  return true;
}

bool GlDevice::selectProgram() {
  bool hasTexture[ShaderStages];
  for (uint32_t s = 0; s < ShaderStages; ++s) hasTexture[s] = textures_[s] != nullptr;
  const ShaderKey key = shaderKey(state_, hasTexture);
  auto found = programs_.find(key);
  if (found == programs_.end()) {
    auto program = std::make_unique<GlProgram>();
    std::string error;
    if (!program->build(context_->api(), key, error)) {
      program->destroy();
      return false;
    }
    found = programs_.emplace(key, std::move(program)).first;
  }
  if (found->second.get() != program_) {
    program_ = found->second.get();
    glUseProgram(program_->name());
    // Uniform values belong to each program: the new one hears everything again.
    transformsDirty_ = lightingDirty_ = true;
  }
  return true;
}

void GlDevice::applyPipeline() {
  if (state_.rs(D3DRS_ZENABLE) != D3DZB_FALSE) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(compareFunction(state_.rs(D3DRS_ZFUNC)));
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  glDepthMask(state_.rs(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);

  // Direct3D's front faces are clockwise on screen; the back buffer is drawn upside down, which
  // turns screen winding round in OpenGL's window coordinates.
  switch (state_.rs(D3DRS_CULLMODE)) {
    case D3DCULL_NONE: glDisable(GL_CULL_FACE); break;
    case D3DCULL_CW:
      glEnable(GL_CULL_FACE);
      glFrontFace(GL_CW);
      glCullFace(GL_BACK);
      break;
    default:
      glEnable(GL_CULL_FACE);
      glFrontFace(GL_CCW);
      glCullFace(GL_BACK);
      break;
  }

  if (state_.rs(D3DRS_ALPHABLENDENABLE)) {
    glEnable(GL_BLEND);
    // Direct3D 8 has no separate alpha blend: the factors apply to alpha too.
    const uint32_t src = state_.rs(D3DRS_SRCBLEND);
    if (src == D3DBLEND_BOTHSRCALPHA)
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    else if (src == D3DBLEND_BOTHINVSRCALPHA)
      glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    else
      glBlendFunc(blendFactor(src), blendFactor(state_.rs(D3DRS_DESTBLEND)));
    glBlendEquation(blendEquation(state_.rs(D3DRS_BLENDOP)));
  } else {
    glDisable(GL_BLEND);
  }
  if (state_.rs(D3DRS_DITHERENABLE))
    glEnable(GL_DITHER);
  else
    glDisable(GL_DITHER);
}

void GlDevice::applyTransforms() {
  const ProgramUniforms& u = program_->uniforms();
  const D3DMATRIX worldView = multiply(state_.world, state_.view);
  // A Direct3D matrix's 16 floats are the OpenGL matrix for column vectors: no transpose.
  glUniformMatrix4fv(u.worldView, 1, GL_FALSE, worldView.m);
  glUniformMatrix4fv(u.projection, 1, GL_FALSE, state_.projection.m);
  float normals[9];
  normalMatrix(worldView, normals);
  glUniformMatrix3fv(u.normalMatrix, 1, GL_TRUE, normals);
  glUniformMatrix4fv(u.texMatrix0, 1, GL_FALSE, state_.textureMatrices[0].m);
  glUniformMatrix4fv(u.texMatrix1, 1, GL_FALSE, state_.textureMatrices[1].m);
  // Half a pixel, in clip units: see the vertex shader. (Just under half a pixel on a back buffer
  // drawn the right way up kept the top-left rule, but moved every sample 1/128 pixel off Direct3D's:
  // depth ties and texel boundaries then fell the other way.)
  glUniform2f(u.pixelOffset, 1.0f / static_cast<float>(width_), 1.0f / static_cast<float>(height_));
  const float unchanged[2] = {1.0f, 1.0f};
  glUniform2fv(u.guardBand, 1, guardBandOn_ ? guardBand_ : unchanged);
}

void GlDevice::applyLighting() {
  const ProgramUniforms& u = program_->uniforms();
  float ambient[4];
  colorValue(state_.rs(D3DRS_AMBIENT), ambient);
  glUniform4fv(u.globalAmbient, 1, ambient);
  const D3DMATERIAL8& m = state_.material;
  uniformColor(u.materialDiffuse, m.Diffuse);
  uniformColor(u.materialAmbient, m.Ambient);
  uniformColor(u.materialSpecular, m.Specular);
  uniformColor(u.materialEmissive, m.Emissive);
  glUniform1f(u.materialPower, m.Power);

  const std::vector<CameraLight> lights = cameraLights(state_);
  float position[MaxActiveLights][4] = {}, diffuse[MaxActiveLights][4] = {}, specular[MaxActiveLights][4] = {},
        lightAmbient[MaxActiveLights][4] = {}, attenuation[MaxActiveLights][4] = {};
  for (size_t i = 0; i < lights.size(); ++i)
    for (int k = 0; k < 4; ++k) {
      position[i][k] = lights[i].position[k];
      diffuse[i][k] = lights[i].diffuse[k];
      specular[i][k] = lights[i].specular[k];
      lightAmbient[i][k] = lights[i].ambient[k];
      attenuation[i][k] = lights[i].attenuation[k];
    }
  const auto n = static_cast<GLsizei>(MaxActiveLights);
  glUniform4fv(u.lightPosition, n, &position[0][0]);
  glUniform4fv(u.lightDiffuse, n, &diffuse[0][0]);
  glUniform4fv(u.lightSpecular, n, &specular[0][0]);
  glUniform4fv(u.lightAmbient, n, &lightAmbient[0][0]);
  glUniform4fv(u.lightAttenuation, n, &attenuation[0][0]);
  // Not lighting, but a render state the fragment shader reads like the ones above.
  float factor[4];
  colorValue(state_.rs(D3DRS_TEXTUREFACTOR), factor);
  glUniform4fv(u.textureFactor, 1, factor);
}

void GlDevice::bindTextures() {
  for (uint32_t s = 0; s < ShaderStages; ++s) {
    glActiveTexture(GL_TEXTURE0 + s);
    if (textures_[s])
      textures_[s]->bind();
    else
      glBindTexture(GL_TEXTURE_2D, whiteTexture_);
  }
}

void GlDevice::applySamplers() {
  for (uint32_t s = 0; s < ShaderStages; ++s) {
    const GLuint sampler = samplers_[s];
    const uint32_t mag = state_.ts(s, D3DTSS_MAGFILTER);
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                        mag == D3DTEXF_POINT || mag == D3DTEXF_NONE ? GL_NEAREST : GL_LINEAR);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER,
                        minFilter(state_.ts(s, D3DTSS_MINFILTER), state_.ts(s, D3DTSS_MIPFILTER)));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, addressMode(state_.ts(s, D3DTSS_ADDRESSU)));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, addressMode(state_.ts(s, D3DTSS_ADDRESSV)));
    glBindSampler(s, sampler);
  }
}

}  // namespace demo
