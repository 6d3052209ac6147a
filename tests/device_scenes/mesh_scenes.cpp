// Meshes as 3D scenes draw them: indexed triangle lists with 16-bit indices from a vertex array that
// starts before the vertices a draw uses, a white wireframe drawn over the same solid faces at equal
// depth, normals under scaled world matrices (Direct3D 8 does not renormalise them unless asked), and
// whole scenes built from 3DS files by the show's own code: lights in camera space, a reflection map
// on stage 1 through the layer's sphere-map transform, an opacity-mapped glass, a mirrored mesh.

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "fx/random.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"
#include "archive/reader.h"
#include "scene_drawing.h"
#include "scene_groups.h"
#include "writers/3ds_writer.h"

namespace demo::scenes {

namespace {

constexpr float Pi = 3.14159265f;

// Field of view 90 degrees, near 1, far 20.
const D3DMATRIX Projection = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 20.0f / 19, 1, 0, 0, -20.0f / 19, 0}};

// A sphere of radius 1 at the origin (position, normal, texture coordinate), front faces outward, as
// an index list; the vertex array starts with `padding` vertices no index names.
struct IndexedMesh {
  std::vector<VertexNormalTex> vertices;
  std::vector<uint16_t> indices;
};

IndexedMesh sphere(int slices, int stacks, uint16_t padding) {
  IndexedMesh m;
  m.vertices.assign(padding, VertexNormalTex{99, 99, 99, 0, 0, 0, 0, 0});
  for (int i = 0; i <= stacks; ++i)
    for (int j = 0; j <= slices; ++j) {
      const float phi = Pi * float(i) / float(stacks), theta = 2 * Pi * float(j) / float(slices);
      const float x = std::sin(phi) * std::cos(theta), y = std::cos(phi), z = std::sin(phi) * std::sin(theta);
      m.vertices.push_back({x, y, z, x, y, z, float(j) / float(slices), float(i) / float(stacks)});
    }
  const auto at = [&](int i, int j) { return static_cast<uint16_t>(padding + i * (slices + 1) + j); };
  for (int i = 0; i < stacks; ++i)
    for (int j = 0; j < slices; ++j) {
      // (a, b, d) and (a, d, c) run clockwise seen from outside in this left-handed space.
      const uint16_t a = at(i, j), b = at(i, j + 1), c = at(i + 1, j), d = at(i + 1, j + 1);
      m.indices.insert(m.indices.end(), {a, b, d, a, d, c});
    }
  return m;
}

D3DMATRIX placed(float scale, float x, float y, float z) {
  return {{scale, 0, 0, 0, 0, scale, 0, 0, 0, 0, scale, 0, x, y, z, 1}};
}

void litSetUp(RenderDevice& d) {
  d.SetTransform(D3DTS_PROJECTION, &Projection);
  d.SetVertexShader(FVF_XYZ_NORMAL_TEX1);
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_POINT;
  light.Diffuse = {1, 0.9f, 0.7f, 1};
  light.Specular = {1, 1, 1, 1};
  light.Position = {-3, 3, -2};
  light.Range = 100;
  light.Attenuation0 = 1;
  light.Attenuation1 = 0.01f;
  light.Attenuation2 = 0.001f;
  d.SetLight(0, &light);
  d.LightEnable(0, true);
  d.SetRenderState(D3DRS_AMBIENT, 0x00303030u);
  const D3DMATERIAL8 material{{0.3f, 0.6f, 0.9f, 1}, {0.3f, 0.3f, 0.3f, 1}, {0.5f, 0.5f, 0.5f, 1}, {0, 0, 0, 0}, 8};
  d.SetMaterial(&material);
  d.SetRenderState(D3DRS_SPECULARENABLE, 1);
}

void drawIndexed(RenderDevice& d, const IndexedMesh& m, uint16_t padding) {
  d.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, padding, static_cast<uint32_t>(m.vertices.size() - padding),
                           static_cast<uint32_t>(m.indices.size() / 3), m.indices.data(), D3DFMT_INDEX16,
                           m.vertices.data(), sizeof(VertexNormalTex));
}

void indexedWithMinimumIndex(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  litSetUp(d);
  const IndexedMesh ball = sphere(16, 10, 7);
  const D3DMATRIX world = placed(2.5f, 0, 0, 4);
  d.SetTransform(D3DTS_WORLD, &world);
  drawIndexed(d, ball, 7);
  t.snapshot("sphere");
}

void wireOverSolid(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  litSetUp(d);
  const IndexedMesh ball = sphere(12, 8, 0);
  const D3DMATRIX world = placed(2.5f, 0, 0, 4);
  d.SetTransform(D3DTS_WORLD, &world);
  drawIndexed(d, ball, 0);
  // The same faces again as lines, white at half opacity, at the depth the solid pass wrote (the
  // default LESSEQUAL lets them through), culled as the faces are.
  d.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  const D3DMATERIAL8 white{{1, 1, 1, 0.5f}, {1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0};
  d.SetMaterial(&white);
  d.SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
  drawIndexed(d, ball, 0);
  t.snapshot("half");
  d.SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
}

void scaledNormals(SceneTarget& t) {
  RenderDevice& d = t.device();
  litSetUp(d);
  const IndexedMesh ball = sphere(12, 8, 0);
  for (int normalize = 0; normalize < 2; ++normalize) {
    clear(d, 0xFF000000u);
    d.SetRenderState(D3DRS_NORMALIZENORMALS, normalize);
    // The unit sphere three times, under world scales of 1.6, 0.6 and 1: the normals are carried by
    // the inverse of the scale, so the first comes out dimmer and the second brighter (clamped) unless
    // they are renormalised.
    for (const D3DMATRIX& world : {placed(1.6f, -2.4f, 0, 5), placed(0.6f, 0, 0, 3), placed(1, 2.4f, 0, 5)}) {
      d.SetTransform(D3DTS_WORLD, &world);
      drawIndexed(d, ball, 0);
    }
    t.snapshot(normalize ? "normalized" : "as-scaled");
  }
  d.SetRenderState(D3DRS_NORMALIZENORMALS, 0);
}

// ---- Whole scenes through the show's scene code -------------------------------------------------

Float3 fileOf(float x, float y, float z) { return {x, z, y}; }  // the engine's y up is the file's z

// A sphere for the file: engine-space geometry written with y and z exchanged, faces turned back.
Mesh3ds sphereMesh(const std::string& name, float radius, const std::string& material, float cx, float cy, float cz) {
  Mesh3ds mesh;
  mesh.name = name;
  const IndexedMesh ball = sphere(14, 9, 0);
  std::vector<std::array<float, 2>> uvs;
  for (const VertexNormalTex& v : ball.vertices) {
    mesh.vertices.push_back(fileOf(cx + radius * v.x, cy + radius * v.y, cz + radius * v.z));
    uvs.push_back({v.u, 1 - v.v});
  }
  mesh.uvs = uvs;
  std::vector<uint16_t> all;
  for (size_t f = 0; f < ball.indices.size(); f += 3) {
    mesh.faces.push_back({ball.indices[f], ball.indices[f + 2], ball.indices[f + 1], 7});
    all.push_back(static_cast<uint16_t>(f / 3));
  }
  mesh.groups = {{material, all}};
  mesh.matrix = std::array<Float3, 4>{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, fileOf(cx, cy, cz)}};
  return mesh;
}

// A square panel facing the camera (-z), as a mesh of two faces.
Mesh3ds panelMesh(const std::string& name, const std::string& material, float cx, float cy, float cz, float half,
                  bool mirrored) {
  Mesh3ds mesh;
  mesh.name = name;
  const float s = mirrored ? -1.0f : 1.0f;  // a mirror tool mirrors the vertices and keeps the faces
  mesh.vertices = {fileOf(cx - s * half, cy + half, cz), fileOf(cx + s * half, cy + half, cz),
                   fileOf(cx - s * half, cy - half, cz), fileOf(cx + s * half, cy - half, cz)};
  mesh.uvs = std::vector<std::array<float, 2>>{{0, 1}, {1, 1}, {0, 0}, {1, 0}};
  // Engine faces (0, 1, 3) and (0, 3, 2) run clockwise seen from -z; the file keeps them as a, c, b.
  mesh.faces = {{0, 3, 1, 7}, {0, 2, 3, 7}};
  mesh.groups = {{material, {0, 1}}};
  mesh.matrix = std::array<Float3, 4>{{{s, 0, 0}, {0, 1, 0}, {0, 0, 1}, fileOf(cx, cy, cz)}};
  return mesh;
}

Node3ds objectNode(const std::string& name, float x, float y, float z, float scale) {
  Node3ds node;
  node.name = name;
  const Float3 at = fileOf(x, y, z);
  node.tracks = {{PositionTrack3ds, {0, {key3(0, at[0], at[1], at[2])}, {}}},
                 {RotationTrack3ds, {0, {rotationKey(0, 0, 0, 0, 1), rotationKey(10, 1.2f, 0, 0, 1)}, {}}},
                 {ScaleTrack3ds, {0, {key3(0, scale, scale, scale)}, {}}}};
  return node;
}

Scene3ds gallery() {
  Scene3ds s;
  Material3ds chrome;
  chrome.name = "Chrome";
  chrome.ambient = {0.2f, 0.2f, 0.2f};
  chrome.diffuse = {0.5f, 0.5f, 0.55f};
  chrome.specular = {1, 1, 1};
  chrome.shininess = 60;
  chrome.texture = "metal.tga";
  chrome.reflection = "sky.tga";
  Material3ds glass;
  glass.name = "Glass";
  glass.diffuse = {0.6f, 0.9f, 1};
  glass.ambient = {0.3f, 0.3f, 0.4f};
  glass.transparency = 20;
  glass.texture = "glass.tga";
  glass.opacity = "mask.tga";
  Material3ds paint;
  paint.name = "Paint";
  paint.diffuse = {0.9f, 0.4f, 0.2f};
  paint.ambient = {0.3f, 0.1f, 0.1f};
  paint.specular = {0.6f, 0.6f, 0.6f};
  paint.shininess = 30;
  s.materials = {chrome, glass, paint};
  s.meshes = {sphereMesh("Ball", 1, "Chrome", -1.2f, 0, 0), sphereMesh("Big", 1, "Paint", 1.4f, 0.3f, 1),
              panelMesh("Pane", "Glass", 0, -0.3f, -1.5f, 1.2f, false),
              panelMesh("Mirror", "Paint", 0, 1.9f, 1.5f, 0.7f, true)};
  s.cameras = {{"Cam", fileOf(0, 1, -6), fileOf(0, 0, 0), 0, 40}};
  Light3ds light;
  light.name = "Lamp";
  light.position = fileOf(-2, 3, -3);
  light.colour = Float3{1, 0.95f, 0.8f};
  light.outerRange = 50;
  s.lights = {light};
  s.segment = {0, 10};
  // The big ball's node scales it by 1.6: its normals come out shorter and its light dimmer.
  s.nodes = {objectNode("Ball", -1.2f, 0, 0, 1), objectNode("Big", 1.4f, 0.3f, 1, 1),
             objectNode("Pane", 0, -0.3f, -1.5f, 1), objectNode("Mirror", 0, 1.9f, 1.5f, 1)};
  s.nodes[1].tracks[2].second.keys[0].value = {1.6f, 1.6f, 1.6f};
  return s;
}

Material* materialNamed(Scene& scene, const char* name) {
  for (const auto& m : scene.materials)
    if (std::string(m->name) == name) return m.get();
  return nullptr;
}

// The maps the file names, made in memory: 4 x 4 textures of the show's 16-bit formats.
void giveMaps(Scene& scene, RenderDevice& d) {
  std::vector<uint32_t> metal(16), sky(16), glass(16);
  for (uint32_t i = 0; i < 16; ++i) {
    metal[i] = (i % 2 ? 0x8410u : 0x6B4Du);                           // R5G6B5 greys
    sky[i] = i < 8 ? (i % 4 < 2 ? 0x3A9Fu : 0xFD60u) : 0x2104u;       // blue and orange above, dark below
    glass[i] = (i % 5 == 0 ? 0xFu : 0x6u) << 12 | 0xADFu;            // A4R4G4B4: leading opaque, panes clear
  }
  Material* chrome = materialNamed(scene, "Chrome");
  chrome->texture = makeTexture(d, 4, 4, D3DFMT_R5G6B5, metal);
  chrome->reflection = makeTexture(d, 4, 4, D3DFMT_R5G6B5, sky);
  materialNamed(scene, "Glass")->texture = makeTexture(d, 4, 4, D3DFMT_A4R4G4B4, glass);
}

void sceneGallery(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  const std::vector<uint8_t> file = write3ds(gallery());
  Reader reader;
  auto bytes = std::make_unique<uint8_t[]>(file.size());
  std::memcpy(bytes.get(), file.data(), file.size());
  reader.assign(std::move(bytes), static_cast<uint32_t>(file.size()));
  RawScene raw;
  if (!readScene(reader, raw)) return;
  std::unique_ptr<Scene> scene = buildScene(layer, raw);
  giveMaps(*scene, d);
  Random random;
  const auto frame = [&](float at, float solid, float wire, const char* label) {
    clear(d, 0xFF101828u);
    d.SetRenderState(D3DRS_AMBIENT, 0x80808080u);  // as the frame loop sets it
    scene->solidAlpha = solid;
    scene->wireAlpha = wire;
    layer.topTransform() = DeviceLayer::identity;
    scene->setupCamera(layer, at);
    SceneDraw pass{layer, random, 0};
    scene->drawScene(pass, at);
    t.snapshot(label);
  };
  frame(0, 1, 0, "solid");
  frame(5, 1, 0.5f, "wire-over-solid");
  frame(10, 0.3f, 1, "wireframe");
}

}  // namespace

const std::vector<DeviceScene>& meshScenes() {
  static const std::vector<DeviceScene> scenes = {
      {"indexed-minimum-index", indexedWithMinimumIndex},
      {"wire-over-solid", wireOverSolid},
      {"scaled-normals", scaledNormals},
      {"scene-gallery", sceneGallery, true},
  };
  return scenes;
}

}  // namespace demo::scenes
