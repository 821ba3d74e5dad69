#include "tool/point/TrianglePoint.h"

#include <cmath>

#include "tool/Tool.h"

namespace {
constexpr double kPi = 3.141592653589793;
}  // namespace

TrianglePoint::TrianglePoint(PointToPoint* s0, PointToPoint* s1, PointToPoint* s2)
    : point_to_point_{s0, s1, s2} {}

void TrianglePoint::SettingPointToPoint(PointToPoint* s0, PointToPoint* s1, PointToPoint* s2) {
  point_to_point_[0] = s0;
  point_to_point_[1] = s1;
  point_to_point_[2] = s2;
}

void TrianglePoint::SettingThreePoint(double x1, double y1, double x2, double y2,
                                      double x3, double y3) {
  point_to_point_[0]->SettingTwoPoint(x1, y1, x2, y2);
  point_to_point_[1]->SettingTwoPoint(x2, y2, x3, y3);
  point_to_point_[2]->SettingTwoPoint(x3, y3, x1, y1);
}

void TrianglePoint::CulculateThreeDistance() {
  for (PointToPoint* side : point_to_point_) side->CulculateDistance();
}

void TrianglePoint::CulculateInnerAngle(int i, double a, double b, double c) {
  if (i < 0 || i > 2) return;
  const double x = (b * b + c * c - a * a) / (2.0 * b * c);
  if (x > 1.0 || std::isnan(x)) {
    angles_[i].degree_ = 0.0;
    angles_[i].radian_ = 0.0;
    return;
  }
  angles_[i].radian_ = x < -1.0 ? kPi : std::acos(x);
  angles_[i].degree_ = Tool::ToDegree(angles_[i].radian_);
}

void TrianglePoint::UpdateTrianglePoint() {
  double d[3];
  for (int k = 0; k < 3; ++k) d[k] = point_to_point_[k]->distance_;
  for (int i = 0; i < 3; ++i) CulculateInnerAngle(i, d[i], d[(i + 1) % 3], d[(i + 2) % 3]);
}
