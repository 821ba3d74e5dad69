#include "tool/Tool.h"

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

// Up to this many factors Differentiation multiplies one by one, as it
// always did; beyond it the power is taken in one step so that a huge
// exponent (a whole game time passed as a step) cannot stall the cycle.
constexpr double kMaxLoopFactors = 64.0;

}  // namespace


double Tool::DistanceForTwoPoints(double x1, double y1, double x2, double y2) {
  return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

double Tool::DistanceForTwoPoints(const Eigen::Vector2d& p1, const Eigen::Vector2d& p2) {
  return DistanceForTwoPoints(p1.x(), p1.y(), p2.x(), p2.y());
}

double Tool::DegreeForTwoPoints(double x1, double y1, double x2, double y2) {
  return ToDegree(std::atan2(y2 - y1, x2 - x1));
}

double Tool::DegreeForTwoPoints(const Eigen::Vector2d& p1, const Eigen::Vector2d& p2) {
  return DegreeForTwoPoints(p1.x(), p1.y(), p2.x(), p2.y());
}

double Tool::DistanceForTwoPoints3D(double x1, double y1, double z1,
                                    double x2, double y2, double z2) {
  return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2) + (z1 - z2) * (z1 - z2));
}

double Tool::DegreeForTwoPoints3D(double x1, double y1, double z1,
                                  double x2, double y2, double z2) {
  const double norm1 = std::sqrt(x1 * x1 + y1 * y1 + z1 * z1);
  const double norm2 = std::sqrt(x2 * x2 + y2 * y2 + z2 * z2);
  const double denom = norm1 * norm2;
  if (!(denom > 0.0)) return 0.0;
  double c = (x1 * x2 + y1 * y2 + z1 * z2) / denom;
  // Rounding can push the cosine of (anti)parallel vectors just past +-1.
  if (c > 1.0) c = 1.0;
  if (c < -1.0) c = -1.0;
  return ToDegree(std::acos(c));
}

double Tool::TheoremOfCosines(double a, double b, double c) {
  const double x = (b * b + c * c - a * a) / (2.0 * b * c);
  if (x > 1.0) return 0.0;
  if (x < -1.0) return 180.0;
  if (std::isnan(x)) return 0.0;
  return ToDegree(std::acos(x));
}

Eigen::Vector2d Tool::CulculatePoint(double distance, double degree,
                                     double offset_x, double offset_y) {
  const double rad = ToRadians(degree);
  return Eigen::Vector2d(offset_x + distance * std::cos(rad), offset_y + distance * std::sin(rad));
}

double Tool::Limited180(double param) {
  if (param >= 0.0) return std::fmod(param + 180.0, 360.0) - 180.0;
  return std::fmod(param - 180.0, 360.0) + 180.0;
}

double Tool::Limited360(double param) {
  double r = Limited180(param);
  if (r < 0.0) r += 360.0;
  return r;
}

double Tool::AbyssForTwoPoints(double x1, double y1, double x2, double y2, double offset) {
  double r = offset - Limited180(DegreeForTwoPoints(x1, y1, x2, y2) + 90.0);
  if (r > 180.0) {
    r -= 360.0;
  } else if (r < -180.0) {
    r += 360.0;
  }
  return r;
}

double Tool::LimitParam(double param, double min, double max) {
  if (param > max) param = max;
  if (param < min) param = min;
  return param;
}

double Tool::Differentiation(double x, double n) {
  if (n < 2.0) return n * x;
  if (std::isnan(n)) return n;
  if (n <= kMaxLoopFactors + 1.0) {
    double r = x;
    for (int i = 2; i < n; ++i) r *= x;
    return n * r;
  }
  // ceil(n) - 1 factors. Every double of 2^53 and above is an even whole
  // number, so fmod tells the parity of ceil(n) exactly at any size; the
  // count is odd when ceil(n) is even. For n = infinity the parity is
  // undefined and the sign follows std::pow (positive).
  const double top = std::ceil(n);
  double r = std::pow(std::fabs(x), top - 1.0);
  if (std::signbit(x) && std::fmod(top, 2.0) == 0.0) r = -r;
  // n * x^k tends to 0 for |x| < 1 even when n is infinite (inf * 0 is NaN).
  if (r == 0.0) return r;
  return n * r;
}

double Tool::TrapezoidIntegration(double tgt, double param, double bef_param,
                                  double sa, int /*direction*/) {
  if (std::isnan(param) || std::isnan(bef_param)) return tgt;
  if ((bef_param > 0.0 && param < 0.0) || (bef_param < 0.0 && param > 0.0)) {
    const double t0 = std::fabs(sa * bef_param / (param - bef_param));
    const double area = bef_param * t0 / 2.0 + param * std::fabs(sa - t0) / 2.0;
    return tgt - area;
  }
  return tgt - (bef_param + param) * sa / 2.0;
}

Eigen::Matrix4d Tool::HomogeneousTransformationMatrix(char mat_type, double d_angle,
                                                      const Eigen::Vector3d& v) {
  const double angle = d_angle * kPi / 180.0;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  Eigen::Matrix4d m = Eigen::Matrix4d::Identity();
  switch (mat_type) {
    case 'X':
    case 'x':
      m(1, 1) = c;  m(1, 2) = -s;
      m(2, 1) = s;  m(2, 2) = c;
      break;
    case 'Y':
    case 'y':
      m(0, 0) = c;  m(0, 2) = s;
      m(2, 0) = -s; m(2, 2) = c;
      break;
    case 'Z':
    case 'z':
      m(0, 0) = c;  m(0, 1) = -s;
      m(1, 0) = s;  m(1, 1) = c;
      break;
    default:
      // Not a principal axis: no rotation, translation only.
      break;
  }
  m(0, 3) = v.x();
  m(1, 3) = v.y();
  m(2, 3) = v.z();
  return m;
}

Eigen::Matrix4d Tool::HomogeneousTransformationMatrix(const std::string& mat_type,
                                                      double d_angle,
                                                      const Eigen::Vector3d& v) {
  const char axis = mat_type.size() == 1 ? mat_type[0] : '\0';
  return HomogeneousTransformationMatrix(axis, d_angle, v);
}
