#include "support/json_value.h"

#include <cstdlib>
#include <stdexcept>

namespace demo::test {

namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  JsonValue document() {
    JsonValue v = value();
    space();
    if (i_ != s_.size()) error("text after the value");
    return v;
  }

 private:
  [[noreturn]] void error(const char* what) {
    throw std::runtime_error(std::string("JSON: ") + what + " at offset " + std::to_string(i_));
  }
  void space() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) ++i_;
  }
  bool take(char c) {
    space();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  void expect(char c) {
    if (!take(c)) error("unexpected character");
  }
  bool word(const char* w) {
    const std::string text(w);
    if (s_.compare(i_, text.size(), text) != 0) return false;
    i_ += text.size();
    return true;
  }

  std::string text() {
    expect('"');
    std::string out;
    while (true) {
      if (i_ >= s_.size()) error("unterminated string");
      const char c = s_[i_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (i_ >= s_.size()) error("unterminated escape");
      const char e = s_[i_++];
      switch (e) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'u': {
          if (i_ + 4 > s_.size()) error("short \\u escape");
          const unsigned long code = std::strtoul(s_.substr(i_, 4).c_str(), nullptr, 16);
          i_ += 4;
          if (code < 0x100) {
            out += static_cast<char>(code);
          } else {  // UTF-8, for completeness
            if (code < 0x800) {
              out += static_cast<char>(0xC0 | (code >> 6));
            } else {
              out += static_cast<char>(0xE0 | (code >> 12));
              out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            }
            out += static_cast<char>(0x80 | (code & 0x3F));
          }
          break;
        }
        default: out += e;
      }
    }
  }

  JsonValue value() {
    space();
    if (i_ >= s_.size()) error("missing value");
    JsonValue v;
    const char c = s_[i_];
    if (c == '{') {
      v.kind = JsonValue::Kind::Object;
      ++i_;
      if (take('}')) return v;
      do {
        space();
        std::string key = text();
        expect(':');
        v.object[key] = value();
      } while (take(','));
      expect('}');
    } else if (c == '[') {
      v.kind = JsonValue::Kind::Array;
      ++i_;
      if (take(']')) return v;
      do v.array.push_back(value());
      while (take(','));
      expect(']');
    } else if (c == '"') {
      v.kind = JsonValue::Kind::String;
      v.string = text();
    } else if (word("true") || word("false")) {
      v.kind = JsonValue::Kind::Bool;
      v.boolean = s_[i_ - 1] == 'e' && s_[i_ - 2] == 'u';
    } else if (word("null")) {
      v.kind = JsonValue::Kind::Null;
    } else {
      char* end = nullptr;
      v.number = std::strtod(s_.c_str() + i_, &end);
      if (end == s_.c_str() + i_) error("not a value");
      v.kind = JsonValue::Kind::Number;
      i_ = static_cast<size_t>(end - s_.c_str());
    }
    return v;
  }

  const std::string& s_;
  size_t i_ = 0;
};

}  // namespace

JsonValue JsonValue::parse(const std::string& text) { return Parser(text).document(); }

const JsonValue& JsonValue::operator[](const std::string& key) const {
  const auto it = object.find(key);
  if (it == object.end()) throw std::runtime_error("JSON: no key \"" + key + "\"");
  return it->second;
}

const JsonValue& JsonValue::operator[](size_t index) const {
  if (index >= array.size()) throw std::runtime_error("JSON: index " + std::to_string(index) + " out of range");
  return array[index];
}

}  // namespace demo::test
