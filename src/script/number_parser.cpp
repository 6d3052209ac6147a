#include "script/number_parser.h"

#include <cstdlib>

namespace demo {

namespace {

bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// The common part of strtol and strtoul: the magnitude, capped just above 2^32 so that every
// out-of-range value is still recognised as one.
bool parseMagnitude(const char* text, int base, bool& negative, uint64_t& magnitude, const char*& end) {
  const char* p = text;
  while (isCSpace(*p)) ++p;
  negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digitValue(p[2]) < 16) p += 2;
  const char* digits = p;
  constexpr uint64_t cap = (uint64_t{1} << 32) + 1;
  magnitude = 0;
  while (digitValue(*p) < base) {
    magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digitValue(*p));
    if (magnitude > cap) magnitude = cap;
    ++p;
  }
  if (p == digits) {
    end = text;
    return false;
  }
  end = p;
  return true;
}

}  // namespace

int numberBase(const char* text) { return text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? 16 : 10; }

bool parseLong32(const char* text, int base, int32_t& value, const char*& end) {
  bool negative = false;
  uint64_t magnitude = 0;
  if (!parseMagnitude(text, base, negative, magnitude, end)) return false;
  if (negative)
    value = magnitude >= uint64_t{0x80000000} ? INT32_MIN : -static_cast<int32_t>(magnitude);
  else
    value = magnitude >= uint64_t{0x7FFFFFFF} ? INT32_MAX : static_cast<int32_t>(magnitude);
  return true;
}

bool parseUnsignedLong32(const char* text, int base, uint32_t& value, const char*& end) {
  bool negative = false;
  uint64_t magnitude = 0;
  if (!parseMagnitude(text, base, negative, magnitude, end)) return false;
  if (magnitude > uint64_t{0xFFFFFFFF})
    value = 0xFFFFFFFFu;
  else
    value = negative ? 0u - static_cast<uint32_t>(magnitude) : static_cast<uint32_t>(magnitude);
  return true;
}

bool parseDouble(const char* text, double& value, const char*& end) {
  char* stop = nullptr;
  value = std::strtod(text, &stop);
  end = stop;
  return stop != text;
}

}  // namespace demo
