#include "script/named_files.h"

#include <algorithm>

#include "script/file_problems.h"
#include "script/image_commands.h"
#include "script/music_commands.h"
#include "script/scene_commands.h"
#include "script/texture_commands.h"

namespace demo {

std::vector<NamedFile> namedFiles(const Program& program) {
  std::vector<NamedFile> files;
  for (const auto& instruction : program) {
    const int32_t line = instruction->line;
    if (const auto* texture = dynamic_cast<const LoadTextureInstruction*>(instruction.get()))
      files.push_back({NamedFile::Kind::Picture, line, "loadtexture", texture->fileName});
    else if (const auto* music = dynamic_cast<const LoadMusicInstruction*>(instruction.get()))
      files.push_back({NamedFile::Kind::Module, line, "loadmusic", music->fileName});
    else if (const auto* scene = dynamic_cast<const LoadSceneInstruction*>(instruction.get()))
      files.push_back({NamedFile::Kind::Scene, line, "loadscene", scene->fileName});
  }
  return files;
}

std::vector<std::pair<int32_t, std::string>> loadingProblems(const Program& program) {
  std::vector<std::pair<int32_t, std::string>> problems;
  for (const NamedFile& file : namedFiles(program)) {
    const char* name = file.name.c_str();
    const std::string why = file.kind == NamedFile::Kind::Picture  ? pictureProblem(name)
                            : file.kind == NamedFile::Kind::Module ? moduleProblem(name)
                                                                   : sceneProblem(name);
    if (!why.empty()) problems.emplace_back(file.line, file.keyword + " " + quoted(name) + ": " + why);
  }
  for (const auto& instruction : program) {
    const auto* grid = dynamic_cast<const MakeGridImageInstruction*>(instruction.get());
    if (!grid) continue;
    const std::string why = MakeGridImageInstruction::gridProblem(grid->columns, grid->rows);
    if (!why.empty()) problems.emplace_back(grid->line, grid->statement() + ": " + why);
  }
  std::stable_sort(problems.begin(), problems.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  return problems;
}

}  // namespace demo
