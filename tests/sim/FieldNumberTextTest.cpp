// The field writes and reads numbers without printf and strtod; what it
// writes and reads must be theirs, to the last character and bit, including
// exact halves (which rounded scripted matches hardly ever meet). A message
// has no "nan" or "inf": such values are written as 0.00.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "DecimalParser.h"
#include "FixedDecimal.h"
#include "Perceptor.h"

namespace {

// DecimalParser takes the text as strtod does: all of it, to a finite value,
// the same bits.
void CompareWithStrtod(const char* text) {
  const std::size_t size = std::strlen(text);
  char* end = nullptr;
  const double want = std::strtod(text, &end);
  const bool whole = size > 0 && end == text + size && std::isfinite(want);
  double got = 0.0;
  ASSERT_EQ(whole, DecimalParser::Parse(text, size, &got)) << '"' << text << '"';
  if (whole) {
    ASSERT_EQ(0, std::memcmp(&want, &got, sizeof got)) << text << " read as " << got;
  }
}

TEST(FieldNumberTextTest, WrittenAsPrintfAndReadAsStrtod) {
  std::vector<double> values = {0.0, -0.0, 0.125, -0.375, 0.0625, 0.00125, 2.5e-5, 1e-320, -2147483647.99995,
                                2147483648.0, 1e20, 99.995, 1e300, NAN, -INFINITY};
  std::mt19937_64 rng(11);
  for (int i = 0; i < 60000; ++i) {
    // Integers of any length over powers of two: exact halves of 10^-N galore.
    const double v = std::ldexp(static_cast<double>(rng() >> (11 + rng() % 53)), -static_cast<int>(rng() % 64));
    values.push_back(i % 2 ? -v : v);
  }
  for (const double v : values) {
    for (int decimals = 0; decimals <= FixedDecimal::kMaxDecimals; ++decimals) {
      char want[400], got[FixedDecimal::kMaxLength];
      std::snprintf(want, sizeof want, "%.*f", decimals, v);
      const std::size_t n = FixedDecimal::Write(v, decimals, got);
      const bool handled = std::isfinite(v) && std::fabs(v) < 2147483648.0;
      ASSERT_EQ(handled, n > 0) << want;
      if (handled) {
        ASSERT_EQ(want, std::string(got, n)) << decimals;
      }
      if (decimals == 2) {  // the messages' numbers, of any size
        std::string message;
        Perceptor::AppendNumber(message, v);
        ASSERT_EQ(std::isfinite(v) ? want : "0.00", message);
      }
    }
    for (const char* format : {"%g", "%.17g", "%.3f", "%.6e"}) {
      char text[400];
      std::snprintf(text, sizeof text, format, v);
      ASSERT_NO_FATAL_FAILURE(CompareWithStrtod(text));
    }
  }
  for (const char* text : {"-0", "5.", "1e5", "1E+05", "-2.5e-3", "+1", " 1", ".5", "0x10", "1e-400", "1e400", "nan",
                           "12345678901234567890", "9007199254740993", "0.1e", "1e", "-", "", "1.2.3", "3 "}) {
    EXPECT_NO_FATAL_FAILURE(CompareWithStrtod(text));
  }
}

}  // namespace
