#include "Vision.h"

#include <cmath>

#include "FieldUnits.h"
#include "Perceptor.h"

namespace {

using FieldUnits::kRadToDeg;
// Beyond this ratio of sideways to forward distance the horizontal angle
// exceeds atan(1.75) = 60.26 degrees, well clear of the field of view
// whatever the last bit of atan2 (tan(60 degrees) = 1.7321).
constexpr double kSurelyOutside = 1.75;
static_assert(kSurelyOutside > 1.7320508075688772 * 1.001, "must lie beyond the field of view");

// The point in the camera frame.
Eigen::Vector3d Relative(const Frame& camera, const Eigen::Vector3d& p) {
  return camera.R.transpose() * (p - camera.p);
}

Polar PolarOf(const Eigen::Vector3d& rel) {
  Polar pol;
  pol.d = rel.norm();
  // The camera looks along y; x points to its right, so left is -x.
  pol.h = std::atan2(-rel.x(), rel.y()) * kRadToDeg;
  pol.v = std::atan2(rel.z(), std::hypot(rel.x(), rel.y())) * kRadToDeg;
  return pol;
}

}  // namespace

Vision::Vision(unsigned seed, bool noise) : noise_(noise), rng_(seed) {}

Polar Vision::ToPolar(const Frame& camera, const Eigen::Vector3d& p) { return PolarOf(Relative(camera, p)); }

bool Vision::Sight(const Frame& camera, const Eigen::Vector3d& p, Polar* pol) {
  const Eigen::Vector3d rel = Relative(camera, p);
  // Behind the camera (y < 0), beside it (y = 0, x != 0) or more than 60.26
  // degrees to a side: |h| > 60. NaN compares false and takes the long way.
  if (std::fabs(rel.x()) > kSurelyOutside * rel.y()) return false;
  *pol = PolarOf(rel);
  return InView(*pol);
}

bool Vision::InView(const Polar& pol) {
  return std::fabs(pol.h) <= kHalfFov && std::fabs(pol.v) <= kHalfFov;
}

Polar Vision::Measure(const Polar& exact) {
  if (!noise_) return exact;
  Polar m = exact;
  m.d += normal_(rng_) * exact.d * kDistanceSdPercent / 100.0;
  m.h += normal_(rng_) * kHorizontalSd;
  m.v += normal_(rng_) * kVerticalSd;
  if (m.d < 0.0) m.d = 0.0;
  return m;
}

void Vision::AppendPolar(TextAppender& out, const Polar& pol) {
  out.Append("(pol ");
  Perceptor::AppendNumber(out, pol.d);
  out.Append(' ');
  Perceptor::AppendNumber(out, pol.h);
  out.Append(' ');
  Perceptor::AppendNumber(out, pol.v);
  out.Append(')');
}
