#include "demo_pack/pack_inputs.h"

#include <algorithm>
#include <stdexcept>

#include "archive/archive.h"

namespace demo {

namespace {

namespace fs = std::filesystem;

bool excluded(const fs::path& file, const std::vector<fs::path>& exclude) {
  std::error_code error;
  for (const fs::path& other : exclude)
    if (fs::exists(other, error) && fs::equivalent(file, other, error)) return true;
  return false;
}

std::vector<PackInput> folderInputs(const fs::path& folder) {
  std::vector<PackInput> found;
  // Folder links are not followed: a link back up the tree would never end.
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    found.push_back({memberName(fs::relative(entry.path(), folder)), entry.path()});
  }
  std::sort(found.begin(), found.end(), [](const PackInput& a, const PackInput& b) { return a.name < b.name; });
  return found;
}

void refuseDuplicates(const std::vector<PackInput>& inputs) {
  // Names are few (dozens): the quadratic scan is cheaper than building a case-folded index.
  for (size_t i = 0; i < inputs.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (sameMemberName(inputs[i].name.c_str(), inputs[j].name.c_str()))
        throw std::runtime_error(inputs[j].path.string() + " and " + inputs[i].path.string() +
                                 " would both be the member \"" + inputs[i].name + "\"");
}

}  // namespace

std::string memberName(const fs::path& relative) {
  std::string name = relative.generic_string();
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

std::vector<PackInput> collectInputs(const std::vector<fs::path>& arguments, const std::vector<fs::path>& exclude) {
  std::vector<PackInput> inputs;
  for (const fs::path& argument : arguments) {
    std::error_code error;
    const fs::file_status status = fs::status(argument, error);
    if (fs::is_directory(status)) {
      for (PackInput& input : folderInputs(argument))
        if (!excluded(input.path, exclude)) inputs.push_back(std::move(input));
    } else if (fs::is_regular_file(status)) {
      if (!excluded(argument, exclude)) inputs.push_back({memberName(argument.filename()), argument});
    } else {
      throw std::runtime_error(argument.string() + ": no such file or folder");
    }
  }
  refuseDuplicates(inputs);
  return inputs;
}

}  // namespace demo
