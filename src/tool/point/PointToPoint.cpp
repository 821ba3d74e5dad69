#include "tool/point/PointToPoint.h"

#include <cmath>

#include "tool/Tool.h"

PointToPoint::PointToPoint(Point* start, Point* end)
    : point_{start, end}, distance_(0.0), degree_(0.0), radian_(0.0) {}

void PointToPoint::SettingPoints(Point* start, Point* end) {
  point_[0] = start;
  point_[1] = end;
}

void PointToPoint::SettingTwoPoint(double x1, double y1, double x2, double y2) {
  point_[0]->SettingPoint(x1, y1);
  point_[1]->SettingPoint(x2, y2);
}

void PointToPoint::CulculateDistance() {
  distance_ = Tool::DistanceForTwoPoints(point_[0]->x_, point_[0]->y_,
                                         point_[1]->x_, point_[1]->y_);
}

void PointToPoint::CulculateAngle() {
  radian_ = std::atan2(point_[1]->y_ - point_[0]->y_, point_[1]->x_ - point_[0]->x_);
  degree_ = Tool::ToDegree(radian_);
}

void PointToPoint::UpdatePointToPointP() {
  CulculateDistance();
  CulculateAngle();
}

void PointToPoint::CulculatePoint() {
  point_[1]->SettingPoint(point_[0]->x_ + distance_ * std::cos(radian_),
                          point_[0]->y_ + distance_ * std::sin(radian_));
}

void PointToPoint::UpdatePointToPointD() {
  radian_ = Tool::ToRadians(degree_);
  CulculatePoint();
}

void PointToPoint::UpdatePointToPointR() {
  degree_ = Tool::ToDegree(radian_);
  CulculatePoint();
}
