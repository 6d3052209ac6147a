#include "scene_json.h"

#include <algorithm>
#include <cstdio>

namespace demo {

namespace {

class Json {
 public:
  std::string text;

  void raw(const char* s) { text += s; }
  void key(const char* name) {
    comma();
    string(name);
    text += ": ";
    pendingComma_ = false;
  }
  void open(char bracket) {
    comma();
    text += bracket;
    pendingComma_ = false;
  }
  void close(char bracket) {
    text += bracket;
    pendingComma_ = true;
  }
  void number(double v) {
    comma();
    char buffer[32];
    // Enough digits to give back the float exactly; the reader never yields NaN or infinities.
    std::snprintf(buffer, sizeof buffer, "%.9g", v);
    text += buffer;
    pendingComma_ = true;
  }
  void integer(long long v) {
    comma();
    text += std::to_string(v);
    pendingComma_ = true;
  }
  void boolean(bool v) {
    comma();
    text += v ? "true" : "false";
    pendingComma_ = true;
  }
  // Names are bytes: anything outside printable ASCII is escaped as the code point of that byte.
  void string(const char* s) {
    comma();
    text += '"';
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
      if (*p == '"' || *p == '\\') {
        text += '\\';
        text += static_cast<char>(*p);
      } else if (*p < 0x20 || *p >= 0x7F) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", *p);
        text += escaped;
      } else {
        text += static_cast<char>(*p);
      }
    }
    text += '"';
    pendingComma_ = true;
  }
  void floats(const float* v, int n) {
    open('[');
    for (int i = 0; i < n; ++i) number(v[i]);
    close(']');
  }
  void vec(const Vec3& v) {
    const float f[3] = {v.x, v.y, v.z};
    floats(f, 3);
  }

 private:
  void comma() {
    if (pendingComma_) text += ", ";
    pendingComma_ = false;
  }
  bool pendingComma_ = false;
};

void mesh(Json& j, const RawObject& object, const RawMesh& m) {
  j.open('{');
  j.key("name"), j.string(object.name.data());
  j.key("vertices"), j.integer(m.vertexCount);
  j.key("faces"), j.integer(static_cast<long long>(m.faces.size()));
  j.key("mapping"), j.boolean(m.hasMapping);
  j.key("matrix"), j.open('[');
  for (const auto& row : m.matrix) j.floats(row, 4);
  j.close(']');
  j.key("firstVertices"), j.open('[');
  for (size_t i = 0; i < std::min<size_t>(3, m.vertices.size()); ++i) j.vec(m.vertices[i]);
  j.close(']');
  j.key("faceGroups"), j.open('[');
  for (const RawFaceGroup& group : m.faceGroups) {
    j.open('{');
    j.key("material"), j.string(group.materialName.data());
    j.key("faces"), j.integer(static_cast<long long>(group.faces.size()));
    j.close('}');
  }
  j.close(']');
  j.close('}');
}

void material(Json& j, const RawMaterial& m) {
  j.open('{');
  j.key("name"), j.string(m.name.data());
  j.key("ambient"), j.floats(m.ambient, 3);
  j.key("diffuse"), j.floats(m.diffuse, 3);
  j.key("specular"), j.floats(m.specular, 3);
  j.key("shininess"), j.number(m.shininess);
  j.key("transparency"), j.number(m.transparency);
  j.key("selfIllumination"), j.number(m.selfIllumination);
  j.key("texture"), j.string(m.textureName.data());
  j.key("reflection"), j.string(m.reflectionName.data());
  j.key("opacity"), j.string(m.opacityName.data());
  j.close('}');
}

template <typename Key>
void track(Json& j, const char* name, const RawTrack<Key>& t) {
  if (t.present) j.key(name), j.integer(static_cast<long long>(t.keys.size()));
}

void node(Json& j, const RawNode& n) {
  j.open('{');
  j.key("name"), j.string(n.name.data());
  j.key("index"), j.integer(n.index);
  j.key("parent"), j.integer(n.parent);
  j.key("kind"), j.integer(static_cast<int>(n.kind));
  j.key("tracks"), j.open('{');
  track(j, "position", n.position);
  track(j, "rotation", n.rotation);
  track(j, "scale", n.scale);
  track(j, "fov", n.fov);
  track(j, "roll", n.roll);
  track(j, "colour", n.colour);
  track(j, "hotspot", n.hotspot);
  track(j, "falloff", n.falloff);
  j.close('}');
  j.close('}');
}

}  // namespace

std::string sceneJson(const RawScene& scene) {
  Json j;
  j.open('{');
  j.key("segment"), j.open('['), j.integer(scene.firstFrame), j.integer(scene.lastFrame), j.close(']');
  j.key("meshes"), j.open('[');
  for (const RawObject& object : scene.objects)
    if (const auto* m = std::get_if<RawMesh>(&object.data)) mesh(j, object, *m);
  j.close(']');
  j.key("materials"), j.open('[');
  for (const RawMaterial& m : scene.materials) material(j, m);
  j.close(']');
  j.key("cameras"), j.open('[');
  for (const RawObject& object : scene.objects)
    if (const auto* c = std::get_if<RawCamera>(&object.data)) {
      j.open('{');
      j.key("name"), j.string(object.name.data());
      j.key("position"), j.vec(c->position);
      j.key("target"), j.vec(c->target);
      j.key("bank"), j.number(c->bank);
      j.key("lens"), j.number(c->lens);
      j.close('}');
    }
  j.close(']');
  j.key("lights"), j.open('[');
  for (const RawObject& object : scene.objects)
    if (const auto* l = std::get_if<RawLight>(&object.data)) {
      j.open('{');
      j.key("name"), j.string(object.name.data());
      j.key("position"), j.vec(l->position);
      j.key("colour"), j.floats(l->colour, 3);
      j.close('}');
    }
  j.close(']');
  j.key("nodes"), j.open('[');
  for (const RawNode& n : scene.nodes) node(j, n);
  j.close(']');
  j.close('}');
  j.text += '\n';
  return j.text;
}

}  // namespace demo
