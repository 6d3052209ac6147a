#include "cli/option_table.h"

#include <utility>

namespace demo::cli {

OptionTable& OptionTable::add(const char* name, Takes takes, OptionalHandler handle) {
  rows_.push_back({{name}, takes, std::move(handle)});
  return *this;
}

OptionTable& OptionTable::flag(const char* name, bool& target) {
  return add(name, Takes::Nothing, [&target](const char*, std::string&) { return target = true; });
}

OptionTable& OptionTable::flag(const char* name, std::function<void()> action) {
  return add(name, Takes::Nothing, [action = std::move(action)](const char*, std::string&) {
    action();
    return true;
  });
}

OptionTable& OptionTable::text(const char* name, std::string& target) {
  return value(name, [&target](const std::string& value, std::string&) {
    target = value;
    return true;
  });
}

OptionTable& OptionTable::value(const char* name, ValueHandler handler) {
  return add(name, Takes::Value, [handler = std::move(handler)](const char* value, std::string& error) {
    return handler(value, error);
  });
}

OptionTable& OptionTable::optionalValue(const char* name, OptionalHandler handler) {
  return add(name, Takes::OptionalValue, std::move(handler));
}

OptionTable& OptionTable::alias(const char* name) {
  if (!rows_.empty()) rows_.back().names.emplace_back(name);
  return *this;
}

OptionTable& OptionTable::singleDashWordsArePlain() {
  singleDashPlain_ = true;
  return *this;
}

const OptionTable::Row* OptionTable::find(const std::string& name) const {
  for (const Row& row : rows_)
    for (const std::string& known : row.names)
      if (known == name) return &row;
  return nullptr;
}

bool OptionTable::parse(int argc, const char* const* argv, std::vector<std::string>& words,
                        std::string& error) const {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (optionsEnded || word.size() < 2 || word[0] != '-') {
      words.push_back(word);
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
      continue;
    }
    const bool longForm = word.starts_with("--");
    const size_t equals = longForm ? word.find('=') : std::string::npos;
    const std::string name = word.substr(0, equals);
    const Row* row = find(name);
    if (!row) {
      if (!longForm && singleDashPlain_) {
        words.push_back(word);
        continue;
      }
      error = "unknown option " + name;
      return false;
    }
    std::string value;
    bool hasValue = equals != std::string::npos;
    if (hasValue) value = word.substr(equals + 1);
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    switch (row->takes) {
      case Takes::Nothing:
        if (hasValue) {
          error = name + " takes no value";
          return false;
        }
        break;
      case Takes::Value:
        if (!hasValue && next && !std::string(next).starts_with("--")) {
          value = next;
          hasValue = true;
          ++i;
        }
        if (!hasValue || value.empty()) {
          error = name + " needs a value";
          if (!hasValue && next) error += std::string(", not the option ") + next;
          return false;
        }
        break;
      case Takes::OptionalValue:
        if (!hasValue && next && next[0] != '-' && next[0] != '\0') {
          value = next;
          hasValue = true;
          ++i;
        }
        break;
    }
    std::string why;
    if (!row->handle(hasValue ? value.c_str() : nullptr, why)) {
      // "--fps 0: ...", "--check=: ..." for an empty value given after the '='.
      error = name + (!hasValue ? std::string() : value.empty() ? "=" : " " + value) + ": " + why;
      return false;
    }
  }
  return true;
}

}  // namespace demo::cli
