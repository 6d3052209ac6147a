#pragma once
// A shader program of the OpenGL device: Direct3D 8's fixed-function vertex and pixel pipeline
// written out in GLSL, for OpenGL 3.3 core and OpenGL ES 3.0 alike, specialised for one ShaderKey
// (the stage operations, lighting switches and coordinate sources become constants, so a software
// rasteriser does not evaluate every operation for every pixel).

#include <cstdint>
#include <string>

#include "platform/gl/fixed_function.h"
#include "platform/gl/gl_context.h"

namespace demo {

// Attribute locations, one per vertex element of a flexible vertex format.
enum VertexAttribute : uint32_t {
  AttributePosition = 0,
  AttributeNormal = 1,
  AttributeColor = 2,
  AttributeTexCoord = 3,
};

struct ProgramUniforms {
  int worldView, projection, normalMatrix, pixelOffset, guardBand, globalAmbient;
  int materialDiffuse, materialAmbient, materialSpecular, materialEmissive, materialPower;
  int lightPosition, lightDiffuse, lightSpecular, lightAmbient, lightAttenuation;
  int texMatrix0, texMatrix1, texture0, texture1, textureFactor;
};

class GlProgram {
 public:
  GlProgram() = default;
  // The owner calls destroy() while its context is current; afterwards there is nothing to free.
  ~GlProgram() = default;
  GlProgram(const GlProgram&) = delete;
  GlProgram& operator=(const GlProgram&) = delete;

  // Compiles and links for the API and key; false with the compiler's log in `error`.
  bool build(GlApi api, const ShaderKey& key, std::string& error);
  uint32_t name() const { return program_; }
  // Deletes the program; the context must be current.
  void destroy();
  const ProgramUniforms& uniforms() const { return uniforms_; }

 private:
  uint32_t program_ = 0;
  ProgramUniforms uniforms_{};
};

}  // namespace demo
