#pragma once
// The files a compiled script names, statement by statement: what `demo --check --files` loads and
// what `demo-pack --verify` looks for among the members.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "script/timeline.h"

namespace demo {

struct NamedFile {
  enum class Kind { Picture, Module, Scene };
  Kind kind;
  int32_t line;         // the statement's script line
  std::string keyword;  // loadtexture, loadmusic, loadscene
  std::string name;     // as the script wrote it
};

std::vector<NamedFile> namedFiles(const Program& program);

// Loads every file as the show would (archive first, then disk), without a device, and checks every
// grid makegridimage would make: the line and "STATEMENT: REASON" of each problem, in line order.
std::vector<std::pair<int32_t, std::string>> loadingProblems(const Program& program);

}  // namespace demo
