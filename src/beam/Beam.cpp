#include "beam/Beam.h"

#include <cstdio>

Beam::Beam() : x_(0.0), y_(0.0), rotation_(0.0) {}

void Beam::Setup(double x, double y, double rotation) {
  x_ = x;
  y_ = y;
  rotation_ = rotation;
  // "%g" never needs more than 13 characters for a double (sign, 6 digits,
  // point, exponent of up to 3 digits), so 3 numbers fit comfortably.
  char buf[96];
  std::snprintf(buf, sizeof(buf), "(beam %g %g %g)", x, y, rotation);
  str_ = buf;
}
