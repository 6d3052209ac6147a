// sceneinfo FILE.3ds: what the engine makes of an exported scene, as JSON on stdout (after the axis
// exchange and the matrix rearrangement: the values the engine uses). A show maker runs it on a file
// before loadscene; tests compare it with reference summaries of real files.

#include <cstdio>
#include <cstring>
#include <string>

#include "scene/scene_reader.h"
#include "scene_json.h"

namespace {

constexpr const char* Usage =
    "usage: sceneinfo FILE.3ds\n"
    "Reads FILE.3ds as loadscene does and prints what it found as JSON: the segment, the meshes\n"
    "(counts, matrix, first vertices, face groups), materials, cameras, lights and keyframer nodes.\n"
    "A file the reader refuses prints the reason on stderr and exits with 1.\n"
    "  --help      this text\n"
    "  --version   the version\n";

}  // namespace

int main(int argc, char** argv) {
  const char* file = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (!std::strcmp(argv[i], "--version")) {
      std::printf("sceneinfo %s\n", DEMO_VERSION);
      return 0;
    }
    if (file || (argv[i][0] == '-' && argv[i][1] != '\0')) {
      std::fputs(Usage, stderr);
      return 2;
    }
    file = argv[i];
  }
  if (!file) {
    std::fputs(Usage, stderr);
    return 2;
  }
  demo::RawScene scene;
  std::string reason;
  if (!demo::readSceneFile(file, scene, &reason)) {
    std::fprintf(stderr, "sceneinfo: %s: %s\n", file, reason.c_str());
    return 1;
  }
  const std::string json = demo::sceneJson(scene);
  if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "sceneinfo: cannot write the output\n");
    return 1;
  }
  return 0;
}
