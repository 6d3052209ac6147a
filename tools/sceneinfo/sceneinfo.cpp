// sceneinfo FILE.3ds: what the engine makes of an exported scene, as JSON on stdout (after the axis
// exchange and the matrix rearrangement: the values the engine uses). A show maker runs it on a file
// before loadscene; tests compare it with reference summaries of real files.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/option_table.h"
#include "cli/program.h"
#include "scene/scene_reader.h"
#include "scene_json.h"

namespace {

std::string usage(const std::string& program) {
  return "usage: " + program + " FILE.3ds\n"
         "Reads FILE.3ds as loadscene does and prints what it found as JSON: the segment, the meshes\n"
         "(counts, matrix, first vertices, face groups), materials, cameras, lights and keyframer nodes.\n"
         "A file the reader refuses prints the reason on stderr and exits with 1.\n"
         "  --help      this text\n"
         "  --version   the version\n";
}

}  // namespace

int main(int argc, char** argv) {
  namespace cli = demo::cli;
  const std::string program = cli::programName(argv[0], "sceneinfo");
  if (cli::answerHelpOrVersion(program, usage(program), argc, argv)) return 0;
  cli::OptionTable table;
  std::vector<std::string> files;
  std::string error;
  if (!table.parse(argc, argv, files, error)) return cli::usageError(program, error);
  if (files.size() != 1)
    return cli::usageError(program, files.empty() ? "needs FILE.3ds" : "too many arguments: " + files[1]);
  const char* file = files[0].c_str();
  demo::RawScene scene;
  std::string reason;
  if (!demo::readSceneFile(file, scene, &reason)) {
    std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), file, reason.c_str());
    return 1;
  }
  const std::string json = demo::sceneJson(scene);
  if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "%s: cannot write the output\n", program.c_str());
    return 1;
  }
  return 0;
}
