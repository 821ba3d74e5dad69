#ifndef VEKTORLING_SIM_DECIMALPARSER_H
#define VEKTORLING_SIM_DECIMALPARSER_H

#include <cstddef>

// Reads a number written in decimal, exactly as strtod reads it in the C
// locale, but without strtod for the short plain decimals players write
// ("0.0123457", "-1.5e-05", "12").
class DecimalParser {
public:
  // The value strtod gives for text[0, size), into *value. False when strtod
  // would not read all of it, or the value is not finite.
  static bool Parse(const char* text, std::size_t size, double* value);

private:
  // The plain decimals whose value a single IEEE operation gives exactly;
  // false (nothing written) for anything else.
  static bool ParseShort(const char* text, std::size_t size, double* value);
};

#endif
