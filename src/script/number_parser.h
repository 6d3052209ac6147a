#pragma once
// The C library's number conversions as the script language defines them, with 32-bit results on
// every platform: strtol and strtoul saturate at the 32-bit limits (a Windows long), not at those
// of a 64-bit long.

#include <cstdint>

namespace demo {

// 16 when the text begins with "0x" or "0X", else 10: a leading zero does not mean octal.
int numberBase(const char* text);

// strtol with a 32-bit long: leading white space, a sign, then digits of the base (in base 16 an
// optional "0x" after the sign). Out-of-range values saturate at INT32_MIN and INT32_MAX. False,
// with end = text, when no digit was consumed.
bool parseLong32(const char* text, int base, int32_t& value, const char*& end);

// strtoul with a 32-bit unsigned long: like parseLong32, but a minus sign negates modulo 2^32 and
// out-of-range magnitudes give 0xFFFFFFFF.
bool parseUnsignedLong32(const char* text, int base, uint32_t& value, const char*& end);

// strtod: leading white space, then a decimal or hexadecimal float, "inf" or "nan". False when
// nothing was consumed.
bool parseDouble(const char* text, double& value, const char*& end);

}  // namespace demo
