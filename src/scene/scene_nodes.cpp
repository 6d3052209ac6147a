#include "scene/scene_nodes.h"

#include <cstring>

#include "scene/matrix.h"

namespace demo {

SceneNode::SceneNode(Type type, int16_t id, const char* name) : type(type), id(id) {
  std::strncpy(this->name, name, NameCapacity - 1);
}

void SceneNode::evaluate(DeviceLayer&, float) {}

void SceneNode::adopt(SceneNode& child, bool atEnd) {
  child.parent = this;
  child.nextSibling = nullptr;
  if (!firstChild) {
    firstChild = lastChild = &child;
  } else if (atEnd) {
    lastChild->nextSibling = &child;
    lastChild = &child;
  } else {
    child.nextSibling = firstChild;
    firstChild = &child;
  }
}

void ObjectNode::evaluate(DeviceLayer& layer, float frame) {
  Matrix& top = layer.topTransform();
  preTranslate(top, evalVector(position, frame));
  top = multiply(quatToMatrix(evalRotation(rotation, frame)), top);
  // Without a scale track the node would collapse to a point: it keeps scale (1, 1, 1) instead.
  if (!scale.keys.empty()) preScale(top, evalVector(scale, frame));
}

bool sameNameIgnoringCase(const char* a, const char* b) {
  const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  for (;; ++a, ++b) {
    if (lower(static_cast<unsigned char>(*a)) != lower(static_cast<unsigned char>(*b))) return false;
    if (*a == '\0') return true;
  }
}

}  // namespace demo
