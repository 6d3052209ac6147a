#include "script/file_problems.h"

#include "archive/read_status.h"
#include "archive/reader.h"
#include "gfx/tga_image.h"
#include "music/music_file_ops.h"
#include "scene/scene_reader.h"

namespace demo {

std::string quoted(const char* text) { return std::string("\"") + text + "\""; }

std::string angled(const char* name) { return std::string("<") + name + ">"; }

std::string openProblem(const char* fileName) {
  Reader reader;
  const int status = reader.open(fileName);
  return status == ReadOk ? std::string() : readStatusText(status);
}

std::string pictureProblem(const char* fileName) {
  TgaImage image;
  TgaProblem problem = TgaProblem::None;
  const int status = decodeImageFile(image, fileName, &problem);
  if (status == 0) return {};
  return problem == TgaProblem::OpenFailed ? readStatusText(status) : describeTgaProblem(problem);
}

std::string moduleProblem(const char* fileName) {
  MusicFileOps ops;
  setMusicFileOps(ops, streamOpen, streamClose, streamRead, streamSeek, streamTell);
  ModuleProblem problem = ModuleProblem::None;
  if (loadModule(ops, fileName, &problem)) return {};
  return moduleProblem(fileName, problem);
}

std::string moduleProblem(const char* fileName, ModuleProblem problem) {
  if (problem == ModuleProblem::OpenFailed || problem == ModuleProblem::None) {
    std::string why = openProblem(fileName);
    if (!why.empty()) return why;
    if (problem == ModuleProblem::None) return "cannot be loaded as an XM module";
  }
  return describeModuleProblem(problem);
}

std::string sceneProblem(const char* fileName) {
  RawScene scene;
  std::string reason;
  return readSceneFile(fileName, scene, &reason) ? std::string() : reason;
}

}  // namespace demo
