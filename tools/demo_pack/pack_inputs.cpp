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

// Why an entry below a packed folder is not a file to pack, or null when it is one.
const char* notPacked(const fs::directory_entry& entry) {
  std::error_code error;
  const bool link = entry.is_symlink(error);
  const fs::file_status target = entry.status(error);  // what a link points at
  if (fs::is_regular_file(target)) return nullptr;
  if (fs::is_directory(target)) return link ? "a link to a folder (not followed)" : nullptr;
  if (link && !fs::exists(target)) return "a dangling link";
  if (fs::is_fifo(target)) return "a FIFO";
  if (fs::is_socket(target)) return "a socket";
  if (fs::is_block_file(target) || fs::is_character_file(target)) return "a device";
  return "not a regular file";
}

std::vector<PackInput> folderInputs(const fs::path& folder, std::vector<SkippedInput>* skipped) {
  std::vector<PackInput> found;
  // Folder links are not followed: a link back up the tree would never end.
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (const char* reason = notPacked(entry)) {
      if (skipped) skipped->push_back({entry.path(), reason});
      continue;
    }
    if (entry.is_directory()) continue;
    // Lexically: fs::relative would resolve a link to where it points, naming the file after its
    // target instead of the link the show's folder holds.
    found.push_back({memberName(entry.path().lexically_relative(folder)), entry.path()});
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

std::vector<PackInput> collectInputs(const std::vector<fs::path>& arguments, const std::vector<fs::path>& exclude,
                                     std::vector<SkippedInput>* skipped) {
  std::vector<PackInput> inputs;
  for (const fs::path& argument : arguments) {
    std::error_code error;
    const fs::file_status status = fs::status(argument, error);
    if (fs::is_directory(status)) {
      for (PackInput& input : folderInputs(argument, skipped)) {
        if (!excluded(input.path, exclude))
          inputs.push_back(std::move(input));
        else if (skipped)
          skipped->push_back({input.path, "the output or the executable itself"});
      }
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
