#include "script/blend_modes.h"

namespace demo {

const BlendModeInfo blendKeywords[BlendModeCount] = {
    {"copyalpha", 4, true, D3DBLEND_SRCALPHA, D3DBLEND_ZERO},
    {"copycolor", 5, true, D3DBLEND_SRCCOLOR, D3DBLEND_ZERO},
    {"addalpha", 2, true, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
    {"addcolor", 3, true, D3DBLEND_SRCCOLOR, D3DBLEND_ONE},
    {"mixalpha", 6, true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
    {"mixcolor", 7, true, D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR},
    {"copy", 0, false, D3DBLEND_ZERO, D3DBLEND_ZERO},
    {"add", 1, true, D3DBLEND_ONE, D3DBLEND_ONE},
};

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool startsWithKeyword(const char* text, const char* keyword) {
  for (; *keyword; ++keyword, ++text)
    if (lowerAscii(*text) != lowerAscii(*keyword)) return false;  // also stops at the text's NUL
  return true;
}

const BlendModeInfo* matchBlendKeyword(const char* text) {
  for (const BlendModeInfo& blend : blendKeywords)
    if (startsWithKeyword(text, blend.keyword)) return &blend;
  return nullptr;
}

const BlendModeInfo* blendMode(int32_t mode) {
  for (const BlendModeInfo& blend : blendKeywords)
    if (blend.mode == mode) return &blend;
  return nullptr;
}

void setBlendStates(RenderDevice& device, const BlendModeInfo& blend) {
  device.SetRenderState(D3DRS_ALPHABLENDENABLE, blend.alphaBlend ? 1u : 0u);
  if (!blend.alphaBlend) return;
  device.SetRenderState(D3DRS_SRCBLEND, blend.source);
  device.SetRenderState(D3DRS_DESTBLEND, blend.destination);
}

}  // namespace demo
