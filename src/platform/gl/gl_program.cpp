#include "platform/gl/gl_program.h"

#include <epoxy/gl.h>

namespace demo {

namespace {

// Per-vertex lighting in camera space with Direct3D's formulas, texture coordinates per stage
// (passed through or generated, optionally through the stage's texture matrix), Direct3D's clip
// depth and pixel centres. Upper-case names are the program's ShaderKey, defined as constants.
constexpr const char* VertexBody = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aColor;     // a D3DCOLOR's bytes: blue, green, red, alpha
layout(location = 3) in vec2 aTexCoord;

uniform mat4 uWorldView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform vec2 uPixelOffset;
uniform vec2 uGuardBand;
uniform vec4 uGlobalAmbient;
uniform vec4 uMaterialDiffuse;
uniform vec4 uMaterialAmbient;
uniform vec4 uMaterialSpecular;
uniform vec4 uMaterialEmissive;
uniform float uMaterialPower;
uniform vec4 uLightPosition[8];     // w = 1: point light; w = 0: xyz is the direction towards the light
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightSpecular[8];
uniform vec4 uLightAmbient[8];
uniform vec4 uLightAttenuation[8];  // a0, a1, a2, range
uniform mat4 uTexMatrix0;
uniform mat4 uTexMatrix1;

out vec4 vDiffuse;
out vec4 vSpecular;
out vec2 vTex0;
out vec2 vTex1;
out vec4 vWrap0;  // per stage: fract(t) and fract(t + 0.5) - 0.5, for D3DRS_WRAP0
out vec4 vWrap1;

// source: 0 set 0, 1 camera normal, 2 camera position, 3 reflection vector, 4 none.
vec2 stageCoords(int source, int transformed, mat4 m, vec3 P, vec3 N) {
  vec4 c;
  if (source == 0) {
    // Two-component coordinates enter a texture matrix as (u, v, 1, 0).
    c = vec4(aTexCoord, 1.0, 0.0);
    if (transformed == 0) return aTexCoord;
  } else if (source == 4) {
    return vec2(0.0);
  } else {
    vec3 g = source == 1 ? N : source == 2 ? P : reflect(normalize(P), N);
    c = vec4(g, 1.0);
    if (transformed == 0) return g.xy;
  }
  return (m * c).xy;
}

vec4 pick(int fromVertex, vec4 vertexColor, vec4 material) { return fromVertex != 0 ? vertexColor : material; }

void main() {
  vec4 camera = uWorldView * vec4(aPosition, 1.0);
  vec3 P = camera.xyz;
  vec3 N = uNormalMatrix * aNormal;
  if (NORMALIZE != 0 && dot(N, N) > 0.0) N = normalize(N);
  vec4 vertexColor = aColor.bgra;

#if LIGHTING
  vec4 Cd = pick(DIFFUSE_SOURCE, vertexColor, uMaterialDiffuse);
  vec4 Ca = pick(AMBIENT_SOURCE, vertexColor, uMaterialAmbient);
  vec4 Cs = pick(SPECULAR_SOURCE, vertexColor, uMaterialSpecular);
  vec4 Ce = pick(EMISSIVE_SOURCE, vertexColor, uMaterialEmissive);
  vec3 ambient = uGlobalAmbient.rgb;
  vec3 diffuse = vec3(0.0);
  vec3 specular = vec3(0.0);
  vec3 toEye = dot(P, P) > 0.0 ? normalize(-P) : vec3(0.0, 0.0, -1.0);
  for (int i = 0; i < LIGHT_COUNT; ++i) {
    vec3 L;
    float attenuation = 1.0;
    if (uLightPosition[i].w != 0.0) {
      vec3 d = uLightPosition[i].xyz - P;
      float distance = length(d);
      vec4 a = uLightAttenuation[i];
      if (distance > a.w) continue;
      L = distance > 0.0 ? d / distance : vec3(0.0);
      attenuation = 1.0 / max(a.x + a.y * distance + a.z * distance * distance, 1e-20);
    } else {
      L = uLightPosition[i].xyz;
    }
    ambient += attenuation * uLightAmbient[i].rgb;
    float NdotL = dot(N, L);
    if (NdotL <= 0.0) continue;
    // A normal longer than 1 (a scaled world, not renormalised) still lights at most fully: Wine and
    // DXVK (checked against Windows) both clamp N.L to 1. N.H is not clamped, as in Wine.
    diffuse += uLightDiffuse[i].rgb * min(NdotL, 1.0) * attenuation;
    // Direct3D's viewer sits at the camera (local viewer) or at -z infinity.
    vec3 H = normalize(L + (LOCAL_VIEWER != 0 ? toEye : vec3(0.0, 0.0, -1.0)));
    float NdotH = dot(N, H);
    if (NdotH > 0.0) specular += uLightSpecular[i].rgb * pow(NdotH, uMaterialPower) * attenuation;
  }
  vDiffuse = vec4(clamp(Ce.rgb + Ca.rgb * ambient + Cd.rgb * diffuse, 0.0, 1.0), Cd.a);
  vSpecular = vec4(clamp(Cs.rgb * specular, 0.0, 1.0), 0.0);
#else
  vDiffuse = vertexColor;
  vSpecular = vec4(0.0);
#endif

  vTex0 = vec2(0.0);
  vTex1 = vec2(0.0);
  vWrap0 = vec4(0.0);
  vWrap1 = vec4(0.0);
#if STAGE_COUNT > 0
  vTex0 = stageCoords(TEX0_SOURCE, TEX0_TRANSFORM, uTexMatrix0, P, N);
  if (TEX0_WRAP != 0) vWrap0 = vec4(fract(vTex0), fract(vTex0 + 0.5) - 0.5);
#endif
#if STAGE_COUNT > 1
  vTex1 = stageCoords(TEX1_SOURCE, TEX1_TRANSFORM, uTexMatrix1, P, N);
  if (TEX1_WRAP != 0) vWrap1 = vec4(fract(vTex1), fract(vTex1 + 0.5) - 0.5);
#endif

  gl_Position = uProjection * camera;
  // Direct3D clips depth to 0..w, OpenGL to -w..w.
  gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;
  // The back buffer is kept top row first, as Direct3D keeps it: drawn upside down in OpenGL's
  // terms, OpenGL's bottom-left rule for edges through pixel centres is Direct3D's top-left rule.
  // Direct3D samples pixels at integer coordinates, OpenGL half a pixel further on: the shift by
  // exactly half a pixel puts Direct3D's sample positions on OpenGL's.
  gl_Position.y = -gl_Position.y;
  gl_Position.xy += uPixelOffset * gl_Position.w;
  // For filled triangles the viewport is larger than the back buffer by the inverse of this: see
  // useGuardBand.
  gl_Position.xy *= uGuardBand;
  gl_PointSize = 1.0;
}
)";

// The texture stage cascade, Direct3D's specular add, and D3DRS_WRAP0's shortest-path wrapping.
constexpr const char* FragmentBody = R"(
in vec4 vDiffuse;
in vec4 vSpecular;
in vec2 vTex0;
in vec2 vTex1;
in vec4 vWrap0;
in vec4 vWrap1;

uniform sampler2D uTexture0;
uniform sampler2D uTexture1;
uniform vec4 uTextureFactor;

layout(location = 0) out vec4 fragColor;

// Interpolating across the 0/1 seam of a cylinder or torus takes the shorter way round: of the two
// coordinate families fract(t) and fract(t + 0.5) - 0.5, taken at the vertices and interpolated,
// one is continuous over the triangle, and it is the one that changes more slowly across the pixel.
vec2 wrapped(vec2 t, vec4 families, int mask) {
  if (mask == 0) return t;
  vec2 a = families.xy;
  vec2 b = families.zw;
  vec2 shortest = mix(b, a, step(fwidth(a), fwidth(b)));
  return vec2((mask & 1) != 0 ? shortest.x : t.x, (mask & 2) != 0 ? shortest.y : t.y);
}

// Where a pixel centre falls exactly on a texel boundary (a quad on whole pixels, a reflection straight
// ahead), Direct3D's exact arithmetic lands on the boundary and takes the texel after it, while our
// interpolation may come out a few units in the last place short and take the one before. A nudge far
// below any texel (2^-20 of the texture) settles the tie Direct3D's way. Point sampling only: see
// pointSampled in fixed_function.cpp for what it does to linear filtering.
const float TieNudge = 1.0 / 1048576.0;

vec4 argument(int a, vec4 current, vec4 texel) {
  int select = a & 15;
  vec4 v = select == 0 ? vDiffuse : select == 1 ? current : select == 2 ? texel
         : select == 3 ? uTextureFactor : vSpecular;
  if ((a & 16) != 0) v = vec4(1.0) - v;
  if ((a & 32) != 0) v = vec4(v.a);
  return v;
}

vec4 operation(int op, vec4 a1, vec4 a2) {
  if (op == 3) return a2;
  if (op == 4) return a1 * a2;
  if (op == 5) return 2.0 * a1 * a2;
  if (op == 6) return 4.0 * a1 * a2;
  if (op == 7) return a1 + a2;
  if (op == 8) return a1 + a2 - 0.5;
  if (op == 9) return 2.0 * (a1 + a2 - 0.5);
  if (op == 10) return a1 - a2;
  if (op == 11) return a1 + a2 - a1 * a2;
  return a1;
}

vec4 runStage(int colorOp, int c1, int c2, int alphaOp, int a1, int a2, vec4 current, vec4 texel) {
  vec3 rgb = operation(colorOp, argument(c1, current, texel), argument(c2, current, texel)).rgb;
  // A disabled alpha operation beside an enabled colour one keeps the alpha so far.
  float a = alphaOp == 1 ? current.a : operation(alphaOp, argument(a1, current, texel), argument(a2, current, texel)).a;
  return clamp(vec4(rgb, a), 0.0, 1.0);
}

void main() {
  vec4 current = vDiffuse;
#if STAGE_COUNT > 0
  vec2 at0 = wrapped(vTex0, vWrap0, TEX0_WRAP) + float(TEX0_NUDGE) * TieNudge;
  vec4 texel0 = TEX0_READ != 0 ? texture(uTexture0, at0) : vec4(1.0);
  current = runStage(C0_OP, C0_A1, C0_A2, A0_OP, A0_A1, A0_A2, current, texel0);
#endif
#if STAGE_COUNT > 1
  vec2 at1 = wrapped(vTex1, vWrap1, TEX1_WRAP) + float(TEX1_NUDGE) * TieNudge;
  vec4 texel1 = TEX1_READ != 0 ? texture(uTexture1, at1) : vec4(1.0);
  current = runStage(C1_OP, C1_A1, C1_A2, A1_OP, A1_A1, A1_A2, current, texel1);
#endif
#if SPECULAR_ADD
  current.rgb = clamp(current.rgb + vSpecular.rgb, 0.0, 1.0);
#endif
  fragColor = current;
}
)";

// The key as constants both shaders see.
std::string defines(const ShaderKey& key) {
  const uint16_t* f = key.fields;
  std::string out;
  auto define = [&out](const std::string& name, uint32_t value) {
    out += "#define " + name + " " + std::to_string(value) + "\n";
  };
  define("STAGE_COUNT", f[ShaderKey::StageCount]);
  for (int s = 0; s < 2; ++s) {
    const uint16_t* st = f + ShaderKey::Stage0 + (ShaderKey::Stage1 - ShaderKey::Stage0) * s;
    const std::string n = std::to_string(s);
    define("C" + n + "_OP", st[0]);
    define("C" + n + "_A1", st[1]);
    define("C" + n + "_A2", st[2]);
    define("A" + n + "_OP", st[3]);
    define("A" + n + "_A1", st[4]);
    define("A" + n + "_A2", st[5]);
    define("TEX" + n + "_READ", st[6]);
    define("TEX" + n + "_SOURCE", st[7]);
    define("TEX" + n + "_TRANSFORM", st[8]);
    define("TEX" + n + "_WRAP", st[9]);
    define("TEX" + n + "_NUDGE", st[10]);
  }
  define("SPECULAR_ADD", f[ShaderKey::SpecularAdd]);
  define("LIGHTING", f[ShaderKey::Lighting]);
  define("LIGHT_COUNT", f[ShaderKey::LightCount]);
  define("LOCAL_VIEWER", f[ShaderKey::LocalViewer]);
  define("NORMALIZE", f[ShaderKey::Normalize]);
  define("DIFFUSE_SOURCE", f[ShaderKey::DiffuseSource]);
  define("AMBIENT_SOURCE", f[ShaderKey::AmbientSource]);
  define("SPECULAR_SOURCE", f[ShaderKey::SpecularSource]);
  define("EMISSIVE_SOURCE", f[ShaderKey::EmissiveSource]);
  return out;
}

std::string header(GlApi api) {
  if (api == GlApi::Gles30) return "#version 300 es\nprecision highp float;\nprecision highp int;\n";
  return "#version 330 core\n";
}

uint32_t compile(GLenum type, const std::string& source, std::string& error) {
  const GLuint shader = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    error = std::string(type == GL_VERTEX_SHADER ? "vertex shader: " : "fragment shader: ") + log;
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

void GlProgram::destroy() {
  if (program_) glDeleteProgram(program_);
  program_ = 0;
}

bool GlProgram::build(GlApi api, const ShaderKey& key, std::string& error) {
  const std::string prefix = header(api) + defines(key);
  const GLuint vs = compile(GL_VERTEX_SHADER, prefix + VertexBody, error);
  if (!vs) return false;
  const GLuint fs = compile(GL_FRAGMENT_SHADER, prefix + FragmentBody, error);
  if (!fs) {
    glDeleteShader(vs);
    return false;
  }
  program_ = glCreateProgram();
  glAttachShader(program_, vs);
  glAttachShader(program_, fs);
  glLinkProgram(program_);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(program_, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetProgramInfoLog(program_, sizeof log, nullptr, log);
    error = std::string("link: ") + log;
    return false;
  }
  auto at = [this](const char* name) { return glGetUniformLocation(program_, name); };
  ProgramUniforms& u = uniforms_;
  // Uniforms a program does not use have no location (-1); setting them is then ignored.
  u = {at("uWorldView"), at("uProjection"), at("uNormalMatrix"), at("uPixelOffset"), at("uGuardBand"),
       at("uGlobalAmbient"),
       at("uMaterialDiffuse"), at("uMaterialAmbient"), at("uMaterialSpecular"), at("uMaterialEmissive"),
       at("uMaterialPower"), at("uLightPosition"), at("uLightDiffuse"), at("uLightSpecular"), at("uLightAmbient"),
       at("uLightAttenuation"), at("uTexMatrix0"), at("uTexMatrix1"), at("uTexture0"), at("uTexture1"),
       at("uTextureFactor")};
  glUseProgram(program_);
  glUniform1i(u.texture0, 0);
  glUniform1i(u.texture1, 1);
  return true;
}

}  // namespace demo
