#pragma once
// Writer-made scenes shared by the scene tests, the damage sweep and the fuzz seeds.

#include "writers/3ds_writer.h"

namespace demo::test {

// A small complete scene: two meshes (one with mapping coordinates, face groups and smoothing, one
// mirrored with wrap flags), two materials (one with all three maps), a camera, a point light and a
// spotlight, and nodes of every kind with their tracks, keys with tension, continuity, bias and ease.
Scene3ds sampleScene();

}  // namespace demo::test
