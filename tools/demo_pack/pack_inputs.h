#pragma once
// Which files go into an archive and under which names.

#include <filesystem>
#include <string>
#include <vector>

namespace demo {

struct PackInput {
  std::string name;  // the member name: backslashes separate folders
  std::filesystem::path path;
};

// Expands FILE and DIR arguments in order. A file is named by its file name; a folder's files (all
// levels below it) by their path relative to the folder, sorted by that name so that the same
// folder always gives the same archive. Files equivalent to one in `exclude` (the output being
// written) are left out. Throws std::runtime_error, naming the file, when an argument does not
// exist or two files would get the same name (ignoring ASCII case, as archive lookups do).
std::vector<PackInput> collectInputs(const std::vector<std::filesystem::path>& arguments,
                                     const std::vector<std::filesystem::path>& exclude = {});

// The member name of a path relative to a packed folder.
std::string memberName(const std::filesystem::path& relative);

}  // namespace demo
