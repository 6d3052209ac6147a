#include "script/argument_parser.h"

#include <cstring>
#include <string>

#include "script/blend_modes.h"
#include "script/number_parser.h"

namespace demo {

namespace {

// The kinds in the order they are tried.
constexpr uint32_t tryOrder[] = {arg::BlendMode, arg::Speed,     arg::Signed,     arg::Unsigned,
                                 arg::Float,     arg::Time,      arg::ImageName,  arg::SceneName,
                                 arg::EffectName, arg::MusicName, arg::TextureName, arg::String};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// What a word asks for, in words: "time", "number or speed", "image name".
std::string describeWord(uint32_t word) {
  std::string text;
  auto add = [&text](const char* part) { text += text.empty() ? part : std::string(" or ") + part; };
  if (word & arg::BlendMode) add("blend mode");
  if (word & (arg::Signed | arg::Unsigned | arg::Float)) add("number");
  if (word & arg::Speed) add("speed");
  if (word & arg::Time) add("time");
  if (word & arg::ImageName) add("image name");
  if (word & arg::SceneName) add("scene name");
  if (word & arg::EffectName) add("effect name");
  if (word & arg::MusicName) add("music name");
  if (word & arg::TextureName) add("texture name");
  if (word & arg::String) add("string");
  return text;
}

// The start of the offending text, for a message.
std::string snippet(const char* p) {
  std::string text(p, strnlen(p, 24));
  return '"' + text + (std::strlen(p) > 24 ? "...\"" : "\"");
}

}  // namespace

bool ArgumentParser::parse(char*& p, uint32_t word, ArgumentRecord& record, int index) {
  p = skipBlanks(p);
  if (*p == '#') *p = '\0';  // a comment where an argument is expected makes it fail
  Argument& out = record.slots[index];
  why_ = nullptr;
  for (uint32_t kind : tryOrder) {
    if (!(word & kind)) continue;
    char* q = p;
    out = Argument{};
    if (tryKind(kind, q, word, record, out)) {
      out.kind = kind;
      record.count = index + 1;
      p = q;
      return true;
    }
  }
  if (why_)
    state_.describe(why_);
  else if (*p == '\0')
    state_.describe("missing " + describeWord(word));
  else
    state_.describe("expected " + describeWord(word) + ", found " + snippet(p));
  return false;
}

bool ArgumentParser::tryKind(uint32_t kind, char*& p, uint32_t word, ArgumentRecord& record, Argument& out) {
  const bool declare = word & arg::Declare;
  switch (kind) {
    case arg::BlendMode:
      if (const BlendModeInfo* blend = matchBlendKeyword(p)) {
        out.integer = blend->mode;
        p += std::strlen(blend->keyword);
        return true;
      }
      return false;
    case arg::Speed: {
      if (*p != '@') return false;
      double speed = 0.0;
      const char* end = nullptr;
      if (!parseDouble(p + 1, speed, end)) {
        why_ = "missing number after '@'";
        return false;
      }
      out.real = static_cast<float>(speed);
      p += end - p;
      return true;
    }
    case arg::Signed:
    case arg::Unsigned:
    case arg::Float:
      return tryNumber(kind, p, word, record, out);
    case arg::Time:
      return parseTime(p, out.integer);
    case arg::ImageName:
      return tryName(p, names_.images, declare, error_text::UndeclaredImage, out.image);
    case arg::SceneName:
      return tryName(p, names_.scenes, declare, error_text::UndeclaredScene, out.scene);
    case arg::EffectName:
      return tryName(p, names_.effects, declare, error_text::UndefinedEffect, out.effect);
    case arg::MusicName:
      return tryName(p, names_.music, declare, error_text::UndeclaredMusic, out.music);
    case arg::TextureName:
      return tryName(p, names_.textures, declare, error_text::UndeclaredTexture, out.texture);
    case arg::String:
      return tryString(p, out);
    default:
      return false;
  }
}

bool ArgumentParser::tryNumber(uint32_t kind, char*& p, uint32_t word, ArgumentRecord& record, Argument& out) {
  // With a relative index, "+v" means argument k plus v; without one "+" is just the sign.
  const int k = static_cast<int>(word & arg::RelativeMask);
  const bool relative = k > 0 && *p == '+';
  const Argument& base = record.slots[relative ? k - 1 : 0];
  const char* text = relative ? p + 1 : p;
  const char* end = nullptr;
  if (kind == arg::Float) {
    double value = 0.0;
    if (!parseDouble(text, value, end)) return false;
    out.real = static_cast<float>(value);
    if (relative) out.real += base.real;
  } else {
    uint32_t bits = 0;
    if (kind == arg::Signed) {
      int32_t value = 0;
      if (!parseLong32(text, numberBase(text), value, end)) return false;
      bits = static_cast<uint32_t>(value);
    } else if (!parseUnsignedLong32(text, numberBase(text), bits, end)) {
      return false;
    }
    if (relative) bits += static_cast<uint32_t>(base.integer);
    out.integer = static_cast<int32_t>(bits);
  }
  p += end - p;
  return true;
}

bool readTimeFields(const char*& q, uint32_t& ms, const char*& why) {
  // Fields are plain counts: the last one is milliseconds, not a decimal fraction.
  uint32_t fields[3] = {};
  int count = 0;
  for (;;) {
    if (!isDigit(*q)) {
      if (count > 0) why = "missing digits after ':'";
      return false;
    }
    uint32_t field = 0;
    while (isDigit(*q)) field = field * 10u + static_cast<uint32_t>(*q++ - '0');
    fields[count++] = field;
    if (*q != ':' || count == 3) break;
    ++q;
  }
  ms = fields[0];
  if (count >= 2) ms = fields[0] * 1000u + fields[1];
  if (count == 3) ms = 60000u * (ms / 1000u) + 1000u * (ms % 1000u) + fields[2];
  return true;
}

bool readTimeFields(char*& q, uint32_t& ms, const char*& why) {
  const char* c = q;
  const bool read = readTimeFields(c, ms, why);
  q += c - q;
  return read;
}

bool ArgumentParser::parseTime(char*& p, int32_t& value) {
  char* q = p;
  const LabelEntry* label = nullptr;
  if (*q == '[') {
    char* close = std::strchr(q + 1, ']');
    if (!close) {
      why_ = "missing ']'";
      return false;
    }
    *close = '\0';
    label = names_.labels.findName(q + 1);
    if (!label) {
      state_.errorText = error_text::UndefinedLabel;
      return false;
    }
    q = skipBlanks(close + 1);
    if (*q == '#') *q = '\0';
  }
  const bool plus = *q == '+';
  if (plus) ++q;
  uint32_t base = 0;
  if (label) {
    if (!plus) {
      why_ = "a label in a time needs '+' after it";
      return false;
    }
    if (label->object < 0) {
      why_ = "the label has no time: it stands before any start or at";
      return false;
    }
    base = static_cast<uint32_t>(label->object);
  } else if (plus) {
    if (state_.scheduleTime < 0) {
      why_ = "relative time before any start or at";
      return false;
    }
    base = static_cast<uint32_t>(state_.scheduleTime);
  }
  uint32_t ms = 0;
  if (!readTimeFields(q, ms, why_)) return false;
  value = static_cast<int32_t>(base + ms);
  p = q;
  return true;
}

template <class T>
bool ArgumentParser::tryName(char*& p, NameList<T>& list, bool declare, const char* undeclaredText,
                             NameEntry<T>*& out) {
  if (*p != '<') return false;
  char* close = std::strchr(p + 1, '>');
  if (!close) {
    why_ = "missing '>'";
    return false;
  }
  *close = '\0';
  const char* name = p + 1;
  if (std::strlen(name) >= NameCapacity) {
    why_ = "name longer than 31 characters";
    return false;
  }
  out = list.findName(name);
  if (!out) {
    if (!declare) {
      state_.errorText = undeclaredText;
      return false;
    }
    out = list.declareName(name);
  }
  p = close + 1;
  return true;
}

bool ArgumentParser::tryString(char*& p, Argument& out) {
  if (*p != '"') return false;
  char* close = std::strchr(p + 1, '"');
  if (!close) {
    why_ = "missing '\"'";
    return false;
  }
  *close = '\0';
  out.text = p + 1;
  p = close + 1;
  return true;
}

}  // namespace demo
