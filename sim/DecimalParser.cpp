#include "DecimalParser.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;
constexpr std::uint64_t kExactIntegers = std::uint64_t(1) << 53;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool DecimalParser::Parse(const char* text, std::size_t size, double* value) {
  if (ParseShort(text, size, value)) return true;
  if (size == 0) return false;
  // strtod needs a terminated copy; the text of one number is short.
  char small[64];
  std::string large;
  const char* copy = small;
  if (size < sizeof small) {
    std::memcpy(small, text, size);
    small[size] = '\0';
  } else {
    large.assign(text, size);
    copy = large.c_str();
  }
  char* end = nullptr;
  *value = std::strtod(copy, &end);
  return end == copy + size && std::isfinite(*value);
}

// [-]digits[.digits][(e|E)[+|-]digits] with at most 2^53 as the digits'
// integer m and a decimal exponent p of at most 22 in magnitude: then m and
// 10^|p| are exact doubles, and the one correctly rounded multiplication or
// division m * 10^p gives the nearest double to the exact decimal value, as
// strtod does (round to nearest, ties to even, in both). m = 0 gives a zero
// with the text's sign, as strtod does.
bool DecimalParser::ParseShort(const char* text, std::size_t size, double* value) {
  const char* p = text;
  const char* const end = text + size;
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  if (p == end || !IsDigit(*p)) return false;
  std::uint64_t digits = 0;
  int exponent = 0;
  for (; p < end && IsDigit(*p); ++p) {
    digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
    if (digits > kExactIntegers) return false;
  }
  if (p < end && *p == '.') {
    for (++p; p < end && IsDigit(*p); ++p) {
      digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
      if (digits > kExactIntegers) return false;
      --exponent;
    }
  }
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool down = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    if (p == end || !IsDigit(*p)) return false;
    int written = 0;
    for (; p < end && IsDigit(*p); ++p) {
      written = written * 10 + (*p - '0');
      if (written > 1000) return false;
    }
    exponent += down ? -written : written;
  }
  if (p != end) return false;
  double magnitude = 0.0;
  if (digits != 0) {
    if (exponent < -kLargestExactPower || exponent > kLargestExactPower) return false;
    const double m = static_cast<double>(digits);
    magnitude = exponent < 0 ? m / kExactPowersOfTen[-exponent] : m * kExactPowersOfTen[exponent];
  }
  *value = negative ? -magnitude : magnitude;
  return true;
}
