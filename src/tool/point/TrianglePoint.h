#ifndef VEKTORLING_TOOL_POINT_TRIANGLEPOINT_H
#define VEKTORLING_TOOL_POINT_TRIANGLEPOINT_H

#include "tool/point/PointToPoint.h"

// A triangle over three segments it does not own. Side i joins corner i and
// corner i+1; element i of angles_ is the interior angle opposite side i.
class TrianglePoint {
 public:
  struct Angle {
    double degree_ = 0.0;
    double radian_ = 0.0;
  };

  TrianglePoint(PointToPoint* s0, PointToPoint* s1, PointToPoint* s2);

  void SettingPointToPoint(PointToPoint* s0, PointToPoint* s1, PointToPoint* s2);
  // Side 0 gets (corner 1, corner 2), side 1 (corner 2, corner 3) and
  // side 2 (corner 3, corner 1).
  void SettingThreePoint(double x1, double y1, double x2, double y2, double x3, double y3);

  void CulculateThreeDistance();
  // Angle i opposite side a, between sides b and c, by the law of cosines.
  // A cosine past +1 (degenerate triangle or rounding) gives 0, one past -1
  // (sides that cannot close) gives 180 degrees, and an undefined one
  // (zero-length sides) gives 0: never NaN.
  void CulculateInnerAngle(int i, double a, double b, double c);
  // All three angles from the stored side lengths (not recomputed here).
  void UpdateTrianglePoint();

  PointToPoint* const* GetPointToPoint() const { return point_to_point_; }
  const Angle* GetAngles() const { return angles_; }

  PointToPoint* point_to_point_[3];
  Angle angles_[3];
};

#endif  // VEKTORLING_TOOL_POINT_TRIANGLEPOINT_H
