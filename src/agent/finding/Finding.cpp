#include "agent/finding/Finding.h"

#include <cmath>

#include "object/Object.h"
#include "tool/Tool.h"

namespace {

// Where a landmark lies in the plane, x ahead of the body and y to its left.
Eigen::Vector2d Place(const Object& o, double pan, double tilt) {
  const double r = o.distance * std::cos(Tool::ToRadians(tilt + o.v_angle));
  const double h = Tool::ToRadians(pan + o.h_angle);
  return Eigen::Vector2d(r * std::cos(h), r * std::sin(h));
}

}  // namespace

double Finding::ReVision(const Object& a, const Object& b, double pan, double tilt,
                         double offset) const {
  return Tool::DegreeForTwoPoints(Place(a, pan, tilt), Place(b, pan, tilt)) + offset;
}
