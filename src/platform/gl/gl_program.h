#pragma once
// The one shader program of the OpenGL device: Direct3D 8's fixed-function vertex and pixel
// pipeline written out in GLSL, for OpenGL 3.3 core and OpenGL ES 3.0 alike.

#include <cstdint>
#include <string>

#include "platform/gl/gl_context.h"

namespace demo {

// Attribute locations, one per vertex element of a flexible vertex format.
enum VertexAttribute : uint32_t { AttributePosition = 0, AttributeNormal = 1, AttributeColor = 2, AttributeTexCoord = 3 };

struct ProgramUniforms {
  int worldView, projection, normalMatrix, pixelOffset;
  int lighting, normalizeNormals, localViewer, materialSource, globalAmbient;
  int materialDiffuse, materialAmbient, materialSpecular, materialEmissive, materialPower;
  int lightCount, lightPosition, lightDiffuse, lightSpecular, lightAmbient, lightAttenuation;
  int texSource, texTransform, texMatrix0, texMatrix1;
  int texture0, texture1, stageCount, colorOp0, alphaOp0, colorOp1, alphaOp1, textureFactor, specularAdd, wrap;
};

class GlProgram {
 public:
  GlProgram() = default;
  // The owner calls destroy() while its context is current; afterwards there is nothing to free.
  ~GlProgram() = default;
  GlProgram(const GlProgram&) = delete;
  GlProgram& operator=(const GlProgram&) = delete;

  // Compiles and links for the API; false with the compiler's log in `error`.
  bool build(GlApi api, std::string& error);
  uint32_t name() const { return program_; }
  // Deletes the program; the context must be current.
  void destroy();
  const ProgramUniforms& uniforms() const { return uniforms_; }

 private:
  uint32_t program_ = 0;
  ProgramUniforms uniforms_{};
};

}  // namespace demo
