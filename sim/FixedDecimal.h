#ifndef VEKTORLING_SIM_FIXEDDECIMAL_H
#define VEKTORLING_SIM_FIXEDDECIMAL_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// A double written with a fixed number of decimals, character for character
// as printf's "%.Nf" writes it in the C locale, without going through printf:
// the exact binary value rounded to the nearest multiple of 10^-N, exact
// halves to the even side, a minus sign whenever the sign bit is set ("-0.00").
class FixedDecimal {
public:
  static constexpr int kMaxDecimals = 4;
  // Longest text Write produces.
  static constexpr std::size_t kMaxLength = 24;

  // Writes v with `decimals` (0 to kMaxDecimals) decimals into out, which has
  // room for kMaxLength characters, and returns the number written; 0 when v
  // is not finite or its magnitude is 2^31 or more, which this does not
  // handle (the caller falls back to printf's own route).
  static std::size_t Write(double v, int decimals, char* out);
  // The same with the decimals known when compiling (the messages' numbers).
  template <int D>
  static std::size_t Write(double v, char* out);

private:
  static constexpr std::uint64_t PowerOfTen(int n) { return n == 0 ? 1 : 10 * PowerOfTen(n - 1); }
  // "00", "01", ... "99": two digits at a time.
  static const char kDigitPairs[201];
  static void WritePair(char* at, std::uint64_t pair) { std::memcpy(at, kDigitPairs + 2 * pair, 2); }
  template <int D>
  static std::uint64_t Units(std::uint64_t mantissa, int shift);
};

// Rounds mantissa * 2^-shift * 10^D to the nearest integer, exact halves to
// the even one, with exact integer arithmetic. mantissa < 2^53, shift >= 22.
template <int D>
std::uint64_t FixedDecimal::Units(std::uint64_t mantissa, int shift) {
  // mantissa * 10^D < 2^53 * 1000 < 2^63 for D <= 3 fits 64 bits; 10^4 needs 128.
  using Wide = typename std::conditional<(D <= 3), std::uint64_t, unsigned __int128>::type;
  constexpr int kBits = static_cast<int>(sizeof(Wide) * 8);
  // Below 2^(kBits - 1) * 2^-shift <= 1/2 unit: rounds to 0.
  if (shift >= kBits) return 0;
  const Wide scaled = static_cast<Wide>(mantissa) * PowerOfTen(D);
  const Wide one = 1;
  const std::uint64_t whole = static_cast<std::uint64_t>(scaled >> shift);
  const Wide rest = scaled & ((one << shift) - 1);
  const Wide half = one << (shift - 1);
  return whole + ((rest > half || (rest == half && (whole & 1) != 0)) ? 1 : 0);
}

template <int D>
std::size_t FixedDecimal::Write(double v, char* out) {
  static_assert(D >= 0 && D <= kMaxDecimals, "0 to kMaxDecimals decimals");
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  std::uint64_t mantissa = bits & ((std::uint64_t(1) << 52) - 1);
  // |v| = mantissa * 2^-shift exactly. Below 2^31 the shift is at least 22.
  if (biased >= 1023 + 31) return 0;  // 2^31 and more, infinities and NaN
  int shift = 1074;                   // zero and subnormals
  if (biased != 0) {
    mantissa |= std::uint64_t(1) << 52;
    shift = 1075 - biased;
  }
  const std::uint64_t units = Units<D>(mantissa, shift);
  std::uint64_t fraction = units % PowerOfTen(D);
  std::uint64_t integral = units / PowerOfTen(D);
  std::size_t digits = 1;
  for (std::uint64_t rest = integral; rest >= 10; rest /= 10) ++digits;
  const std::size_t length = (negative ? 1 : 0) + digits + (D > 0 ? D + 1 : 0);
  // From the right: the decimals, the point, the integral digits, the sign.
  char* p = out + length;
  for (int left = D; left >= 2; left -= 2) {
    p -= 2;
    WritePair(p, fraction % 100);
    fraction /= 100;
  }
  if (D % 2 == 1) *--p = static_cast<char>('0' + fraction);
  if (D > 0) *--p = '.';
  while (integral >= 100) {
    p -= 2;
    WritePair(p, integral % 100);
    integral /= 100;
  }
  if (integral >= 10) {
    p -= 2;
    WritePair(p, integral);
  } else {
    *--p = static_cast<char>('0' + integral);
  }
  if (negative) *--p = '-';
  return length;
}

#endif
