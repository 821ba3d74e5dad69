#ifndef VEKTORLING_TOOL_POINT_POINT_H
#define VEKTORLING_TOOL_POINT_POINT_H

// A point in the plane; the unit is the caller's.
class Point {
 public:
  Point();
  Point(double x, double y);

  void SettingPoint(double x, double y);
  double GetX() const { return x_; }
  double GetY() const { return y_; }

  double x_;
  double y_;
};

#endif  // VEKTORLING_TOOL_POINT_POINT_H
