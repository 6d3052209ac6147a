#pragma once
// The eight ways showimage composites an image onto the frame: the script's keywords, the mode
// numbers stored in the instruction, and the device blend states each mode sets.

#include <cstddef>
#include <cstdint>

#include "platform/render_device.h"

namespace demo {

inline constexpr int32_t BlendModeCount = 8;

struct BlendModeInfo {
  const char* keyword;
  int32_t mode;
  bool alphaBlend;   // D3DRS_ALPHABLENDENABLE; "copy" only switches blending off
  D3DBLEND source;   // D3DRS_SRCBLEND when blending
  D3DBLEND destination;  // D3DRS_DESTBLEND when blending
};

// The keyword table in the order the parser tries it: longest first, so "addalpha" wins over "add".
extern const BlendModeInfo blendKeywords[BlendModeCount];

// The first keyword the text begins with, ignoring case (no separator needed after it), or null.
const BlendModeInfo* matchBlendKeyword(const char* text);

// The row of a mode number, or null outside 0-7.
const BlendModeInfo* blendMode(int32_t mode);

// Sets the blend render states of the mode.
void setBlendStates(RenderDevice& device, const BlendModeInfo& blend);

// Keyword matching of the script: the text begins with the keyword, ASCII letters compared without
// case, over the keyword's full length.
bool startsWithKeyword(const char* text, const char* keyword);

}  // namespace demo
