#include "Vision.h"

#include <cmath>

#include "Perceptor.h"

namespace {
constexpr double kRadToDeg = 180.0 / M_PI;
}

Vision::Vision(unsigned seed, bool noise) : noise_(noise), rng_(seed) {}

Polar Vision::ToPolar(const Frame& camera, const Eigen::Vector3d& p) {
  const Eigen::Vector3d rel = camera.R.transpose() * (p - camera.p);
  Polar pol;
  pol.d = rel.norm();
  // The camera looks along y; x points to its right, so left is -x.
  pol.h = std::atan2(-rel.x(), rel.y()) * kRadToDeg;
  pol.v = std::atan2(rel.z(), std::hypot(rel.x(), rel.y())) * kRadToDeg;
  return pol;
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

void Vision::AppendPolar(std::string& out, const Polar& pol) {
  out += "(pol ";
  Perceptor::AppendNumber(out, pol.d);
  out += ' ';
  Perceptor::AppendNumber(out, pol.h);
  out += ' ';
  Perceptor::AppendNumber(out, pol.v);
  out += ')';
}
