#pragma once
// A small JSON reader for tests: reference summaries beside the shared test data and the output of
// tools that print JSON. Throws std::runtime_error on malformed text.

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace demo::test {

class JsonValue {
 public:
  enum class Kind { Null, Bool, Number, String, Array, Object };

  static JsonValue parse(const std::string& text);

  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string string;  // \u escapes below 0x100 become that byte
  std::vector<JsonValue> array;
  std::map<std::string, JsonValue> object;

  bool isNull() const { return kind == Kind::Null; }
  bool has(const std::string& key) const { return object.count(key) != 0; }
  // Throws when the key is missing or the index out of range, naming it.
  const JsonValue& operator[](const std::string& key) const;
  const JsonValue& operator[](size_t index) const;
  size_t size() const { return kind == Kind::Object ? object.size() : array.size(); }
};

}  // namespace demo::test
