#pragma once
// The voyage: the built-in show's 3D scene, written as a 3DS file at build time, and the pictures
// its materials use. What it holds, in the engine's terms (y up):
//   - a tiled floor and a textured pillar that turns slowly, carrying a tumbling chrome ring with two
//     reflective orbs and a pair of fins, the right one the mirror image of the left (a mirrored mesh
//     matrix);
//   - four glass panels around it, transparent through an opacity map;
//   - "emitter", a small glowing gem flying a looping path through the scene (particles may be hung
//     on it);
//   - two point lights circling with animated colours;
//   - two cameras with targets, field of view and roll tracks: "Camera01" swoops in from high above
//     (frames 0 to 380), "Camera02" skims low around the pillar (frames 340 to 800).
// The segment is frames 0 to 800; demo.run plays it at 50 frames per second.

#include <string>
#include <utility>
#include <vector>

#include "canvas.h"
#include "writers/3ds_writer.h"

namespace demo::show {

constexpr uint32_t VoyageLastFrame = 800;

Scene3ds voyageScene();

// The pictures the scene's materials name, by file name, and the captions drawn over the scene.
std::vector<std::pair<std::string, Canvas>> voyagePictures();

}  // namespace demo::show
