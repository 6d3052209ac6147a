#include "fx/image.h"

namespace demo {

namespace {

// Field of view pi/2, aspect 1, near plane 1, far plane 2: a vertex at z = 1 lands on its own x and
// y in clip space, at depth 0.
constexpr D3DMATRIX imageProjection = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 1, 0, 0, -2, 0}};

bool isThirtyTwoBit(D3DFORMAT format) { return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8; }

}  // namespace

Image::~Image() {
  if (ownTexture) ownTexture->Release();
}

bool Image::initImage(DeviceLayer& layer, Texture* source, uint8_t alpha, float u0, float v0, float u1, float v1) {
  texU0 = u0;
  texV0 = v0;
  texU1 = u1;
  texV1 = v1;
  sourceTexture = source;
  alphaFlag = alpha;
  x = y = 0.0f;
  width = height = 1.0f;
  colour = 0xFFFFFFFFu;
  blurLevel = 0;
  if (ownTexture) {
    ownTexture->Release();
    ownTexture = nullptr;
  }
  D3DSURFACE_DESC desc{};
  if (!source || source->GetLevelDesc(0, &desc) != D3D_OK) return false;
  // The conversions and the blur read four bytes per source pixel; anything narrower would be read
  // past its end.
  if (!isThirtyTwoBit(desc.Format)) return false;
  textureWidth = desc.Width;
  textureHeight = desc.Height;
  RenderDevice* device = layer.device();
  const D3DFORMAT format = alphaFlag ? D3DFMT_A4R4G4B4 : D3DFMT_R5G6B5;
  if (!device || device->CreateTexture(textureWidth, textureHeight, 1, 0, format, D3DPOOL_MANAGED, &ownTexture) !=
                     D3D_OK) {
    ownTexture = nullptr;
    return false;
  }
  convertImage(*this);
  return true;
}

void Image::beginDraw(DeviceLayer& layer) const {
  layer.selectTransformStack(0);
  layer.pushTransform();
  // Scales the -1 ... 1 square to the size and moves its top-left corner to (x, y), with the
  // screen's y growing downwards and clip space's upwards.
  layer.topTransform() = {{width, 0, 0, 0, 0, height, 0, 0, 0, 0, 1, 0, 2 * x + width - 1, 1 - (2 * y + height), 0, 1}};
  layer.applyTransform();
  layer.selectTransformStack(1);
  layer.topTransform() = imageProjection;
  layer.applyTransform();
  layer.bindTexture(ownTexture);
  RenderDevice& device = *layer.device();
  device.SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device.SetRenderState(D3DRS_ZWRITEENABLE, 0);
  device.SetRenderState(D3DRS_LIGHTING, 0);
  device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);  // a negative width mirrors the quad
  device.SetTextureStageState(0, D3DTSS_ALPHAOP, alphaFlag ? D3DTOP_MODULATE : D3DTOP_SELECTARG2);
  device.SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
}

void Image::endDraw(DeviceLayer& layer) {
  // The projection was written without a push: at depth 0 this pop changes nothing, and the image
  // projection stays until another drawer writes its own.
  layer.popTransform();
  layer.applyTransform();
  layer.selectTransformStack(0);
  layer.popTransform();
  layer.applyTransform();
}

int Image::draw(DeviceLayer& layer) {
  beginDraw(layer);
  const VertexColorTex quad[4] = {
      {-1, 1, 1, colour, texU0, texV0},
      {1, 1, 1, colour, texU1, texV0},
      {-1, -1, 1, colour, texU0, texV1},
      {1, -1, 1, colour, texU1, texV1},
  };
  layer.device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(VertexColorTex));
  endDraw(layer);
  return 1;
}

}  // namespace demo
