// Reading the back buffer: Direct3D 8 cannot lock it, so it is copied into a lockable system-memory
// surface of the same format first (the front buffer would be the documented way, but it reads
// black under Wine).

#include <cstring>

#include "platform/d3d8/d3d8_device.h"
#include "platform/d3d8/d3d8_graphics.h"

namespace demo {

namespace {

// n-bit channel values to 8 bits the way OpenGL converts them (c * 255 / (2^n - 1), rounded), so
// 16-bit frames read back alike from both devices.
uint8_t expand(uint32_t value, uint32_t bits) {
  const uint32_t top = (1u << bits) - 1;
  return static_cast<uint8_t>((value * 255 + top / 2) / top);
}

bool convertRow(::D3DFORMAT format, const uint8_t* in, uint8_t* out, uint32_t width) {
  for (uint32_t x = 0; x < width; ++x, out += 4) {
    switch (format) {
      case ::D3DFMT_A8R8G8B8:
      case ::D3DFMT_X8R8G8B8:
        out[0] = in[4 * x + 2], out[1] = in[4 * x + 1], out[2] = in[4 * x];
        out[3] = format == ::D3DFMT_A8R8G8B8 ? in[4 * x + 3] : 255;
        break;
      case ::D3DFMT_R5G6B5: {
        uint16_t p;
        std::memcpy(&p, in + 2 * x, 2);
        out[0] = expand(p >> 11, 5), out[1] = expand(p >> 5 & 63, 6), out[2] = expand(p & 31, 5), out[3] = 255;
        break;
      }
      case ::D3DFMT_X1R5G5B5: {
        uint16_t p;
        std::memcpy(&p, in + 2 * x, 2);
        out[0] = expand(p >> 10 & 31, 5), out[1] = expand(p >> 5 & 31, 5), out[2] = expand(p & 31, 5), out[3] = 255;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

bool D3d8Device::readPixels(std::vector<uint8_t>& rgba, uint32_t& width, uint32_t& height) {
  IDirect3DSurface8* back = nullptr;
  if (FAILED(native_->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back))) return false;
  ::D3DSURFACE_DESC desc{};
  back->GetDesc(&desc);
  IDirect3DSurface8* copy = nullptr;
  bool ok = SUCCEEDED(native_->CreateImageSurface(desc.Width, desc.Height, desc.Format, &copy)) &&
            SUCCEEDED(native_->CopyRects(back, nullptr, 0, copy, nullptr));
  ::D3DLOCKED_RECT locked{};
  if (ok) ok = SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY));
  if (ok) {
    width = desc.Width;
    height = desc.Height;
    rgba.resize(size_t{width} * height * 4);
    const auto* bits = static_cast<const uint8_t*>(locked.pBits);
    for (uint32_t y = 0; y < height && ok; ++y)
      ok = convertRow(desc.Format, bits + size_t{y} * locked.Pitch, rgba.data() + size_t{y} * width * 4, width);
    copy->UnlockRect();
  }
  if (copy) copy->Release();
  back->Release();
  return ok;
}

bool readD3d8BackBuffer(RenderDevice& device, std::vector<uint8_t>& rgba, uint32_t& width, uint32_t& height) {
  // Devices of this backend are all D3d8Device (d3d8Direct3DCreate makes no other kind).
  return static_cast<D3d8Device&>(device).readPixels(rgba, width, height);
}

}  // namespace demo
