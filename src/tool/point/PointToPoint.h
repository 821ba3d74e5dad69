#ifndef VEKTORLING_TOOL_POINT_POINTTOPOINT_H
#define VEKTORLING_TOOL_POINT_POINTTOPOINT_H

#include "tool/point/Point.h"

// A directed segment between two points it does not own, kept both as the
// two end points and in polar form (length and bearing of the end as seen
// from the start, counter-clockwise from +x). The Update operations bring
// one form in line with the other.
class PointToPoint {
 public:
  PointToPoint(Point* start, Point* end);

  void SettingPoints(Point* start, Point* end);
  // Writes the coordinates into the two referenced points.
  void SettingTwoPoint(double x1, double y1, double x2, double y2);

  void CulculateDistance();
  void CulculateAngle();
  // Points to polar: distance, then bearing.
  void UpdatePointToPointP();

  // Moves the end point to start + distance * (cos radian, sin radian).
  void CulculatePoint();
  // Polar in degrees to end point.
  void UpdatePointToPointD();
  // Polar in radians to end point.
  void UpdatePointToPointR();

  void SetDistance(double distance) { distance_ = distance; }
  void SetDegree(double degree) { degree_ = degree; }
  void SetRadian(double radian) { radian_ = radian; }
  double GetDistance() const { return distance_; }
  double GetDegree() const { return degree_; }
  double GetRadian() const { return radian_; }
  Point* const* GetPoints() const { return point_; }

  Point* point_[2];  // start, end (not owned)
  double distance_;
  double degree_;
  double radian_;
};

#endif  // VEKTORLING_TOOL_POINT_POINTTOPOINT_H
