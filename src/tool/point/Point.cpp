#include "tool/point/Point.h"

Point::Point() : x_(0.0), y_(0.0) {}

Point::Point(double x, double y) : x_(x), y_(y) {}

void Point::SettingPoint(double x, double y) {
  x_ = x;
  y_ = y;
}
