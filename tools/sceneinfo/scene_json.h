#pragma once
// What the reader made of a 3DS file, as JSON: the values the engine uses, after the axis exchange
// and the matrix rearrangement. The key names are read by scripts outside the project: keep them.

#include <string>

#include "scene/raw_scene.h"

namespace demo {

std::string sceneJson(const RawScene& scene);

}  // namespace demo
