#include "beam/Beam.h"

#include <cstdio>
#include <cstring>

Beam::Beam() : x_(0.0), y_(0.0), rotation_(0.0) {}

void Beam::Setup(double x, double y, double rotation) {
  // The same place in every cycle: the text is already there. (Compared
  // bit for bit, so that 0 and -0 still print as they should.)
  const double now[3] = {x, y, rotation};
  const double before[3] = {x_, y_, rotation_};
  if (!str_.empty() && std::memcmp(now, before, sizeof now) == 0) return;
  x_ = x;
  y_ = y;
  rotation_ = rotation;
  // "%g" never needs more than 13 characters for a double (sign, 6 digits,
  // point, exponent of up to 3 digits), so 3 numbers fit comfortably.
  char buf[96];
  std::snprintf(buf, sizeof(buf), "(beam %g %g %g)", x, y, rotation);
  str_ = buf;
}
