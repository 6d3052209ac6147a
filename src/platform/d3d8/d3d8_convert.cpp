#include "platform/d3d8/d3d8_native.h"

#include <cstring>

namespace demo {

namespace {

::D3DCOLORVALUE toNative(const D3DCOLORVALUE& c) { return {c.r, c.g, c.b, c.a}; }
::D3DVECTOR toNative(const D3DVECTOR& v) { return {v.x, v.y, v.z}; }

}  // namespace

::D3DMATRIX toNative(const D3DMATRIX& matrix) {
  // Both are sixteen floats, row by row; the native one is a union of names over the same array.
  ::D3DMATRIX native;
  static_assert(sizeof native.m == sizeof matrix.m);
  std::memcpy(native.m, matrix.m, sizeof matrix.m);
  return native;
}

::D3DMATERIAL8 toNative(const D3DMATERIAL8& m) {
  ::D3DMATERIAL8 native;
  native.Diffuse = toNative(m.Diffuse);
  native.Ambient = toNative(m.Ambient);
  native.Specular = toNative(m.Specular);
  native.Emissive = toNative(m.Emissive);
  native.Power = m.Power;
  return native;
}

::D3DLIGHT8 toNative(const D3DLIGHT8& l) {
  ::D3DLIGHT8 native;
  native.Type = convertEnum<::D3DLIGHTTYPE>(l.Type);
  native.Diffuse = toNative(l.Diffuse);
  native.Specular = toNative(l.Specular);
  native.Ambient = toNative(l.Ambient);
  native.Position = toNative(l.Position);
  native.Direction = toNative(l.Direction);
  native.Range = l.Range;
  native.Falloff = l.Falloff;
  native.Attenuation0 = l.Attenuation0;
  native.Attenuation1 = l.Attenuation1;
  native.Attenuation2 = l.Attenuation2;
  native.Theta = l.Theta;
  native.Phi = l.Phi;
  return native;
}

::D3DRECT toNative(const D3DRECT& r) { return {r.x1, r.y1, r.x2, r.y2}; }
::RECT toNative(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

::D3DPRESENT_PARAMETERS toNative(const D3DPRESENT_PARAMETERS& p) {
  ::D3DPRESENT_PARAMETERS native{};
  native.BackBufferWidth = p.BackBufferWidth;
  native.BackBufferHeight = p.BackBufferHeight;
  native.BackBufferFormat = convertEnum<::D3DFORMAT>(p.BackBufferFormat);
  native.BackBufferCount = p.BackBufferCount;
  native.MultiSampleType = convertEnum<::D3DMULTISAMPLE_TYPE>(p.MultiSampleType);
  native.SwapEffect = convertEnum<::D3DSWAPEFFECT>(p.SwapEffect);
  native.hDeviceWindow = static_cast<HWND>(p.hDeviceWindow);
  native.Windowed = p.Windowed;
  native.EnableAutoDepthStencil = p.EnableAutoDepthStencil;
  native.AutoDepthStencilFormat = convertEnum<::D3DFORMAT>(p.AutoDepthStencilFormat);
  native.Flags = p.Flags;
  native.FullScreen_RefreshRateInHz = p.FullScreen_RefreshRateInHz;
  native.FullScreen_PresentationInterval = p.FullScreen_PresentationInterval;
  return native;
}

D3DPRESENT_PARAMETERS fromNative(const ::D3DPRESENT_PARAMETERS& n) {
  D3DPRESENT_PARAMETERS p{};
  p.BackBufferWidth = n.BackBufferWidth;
  p.BackBufferHeight = n.BackBufferHeight;
  p.BackBufferFormat = convertEnum<D3DFORMAT>(n.BackBufferFormat);
  p.BackBufferCount = n.BackBufferCount;
  p.MultiSampleType = convertEnum<uint32_t>(n.MultiSampleType);
  p.SwapEffect = convertEnum<D3DSWAPEFFECT>(n.SwapEffect);
  p.hDeviceWindow = n.hDeviceWindow;
  p.Windowed = n.Windowed;
  p.EnableAutoDepthStencil = n.EnableAutoDepthStencil;
  p.AutoDepthStencilFormat = convertEnum<D3DFORMAT>(n.AutoDepthStencilFormat);
  p.Flags = n.Flags;
  p.FullScreen_RefreshRateInHz = n.FullScreen_RefreshRateInHz;
  p.FullScreen_PresentationInterval = n.FullScreen_PresentationInterval;
  return p;
}

D3DDISPLAYMODE fromNative(const ::D3DDISPLAYMODE& m) {
  return {m.Width, m.Height, m.RefreshRate, convertEnum<D3DFORMAT>(m.Format)};
}

D3DSURFACE_DESC fromNative(const ::D3DSURFACE_DESC& d) {
  D3DSURFACE_DESC desc{};
  desc.Format = convertEnum<D3DFORMAT>(d.Format);
  desc.Type = convertEnum<D3DRESOURCETYPE>(d.Type);
  desc.Usage = d.Usage;
  desc.Pool = convertEnum<D3DPOOL>(d.Pool);
  desc.Size = d.Size;
  desc.MultiSampleType = convertEnum<uint32_t>(d.MultiSampleType);
  desc.Width = d.Width;
  desc.Height = d.Height;
  return desc;
}

D3DVERTEXBUFFER_DESC fromNative(const ::D3DVERTEXBUFFER_DESC& d) {
  return {convertEnum<D3DFORMAT>(d.Format), convertEnum<D3DRESOURCETYPE>(d.Type), d.Usage,
          convertEnum<D3DPOOL>(d.Pool), d.Size, d.FVF};
}

D3DINDEXBUFFER_DESC fromNative(const ::D3DINDEXBUFFER_DESC& d) {
  return {convertEnum<D3DFORMAT>(d.Format), convertEnum<D3DRESOURCETYPE>(d.Type), d.Usage,
          convertEnum<D3DPOOL>(d.Pool), d.Size};
}

}  // namespace demo
