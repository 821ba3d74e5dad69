#include "object/Object.h"

#include <cmath>
#include <utility>

#include "tool/Tool.h"

const char* const Object::kFlagNames[Object::kFlagNum] = {"F1R", "F2R", "F1L", "F2L",
                                                          "G1R", "G2R", "G1L", "G2L"};

namespace {

// One noise step of the server's vision sensor: distance in percent,
// angles in degrees.
constexpr double kDistanceNoisePercent = 0.0965;
constexpr double kHorizonNoiseDeg = 0.1225;
constexpr double kVerticalNoiseDeg = 0.148;

// Interval used when two sightings carry the same time stamp.
constexpr double kDefaultSightingInterval = 0.06;

// Landmark pairs that trade places when the robot plays on the right side:
// F1R<->F2L, F2R<->F1L, G1R<->G2L, G2R<->G1L.
constexpr int kMirrorPairs[4][2] = {{0, 3}, {1, 2}, {4, 7}, {5, 6}};

// Exchanges what the camera reported of two landmarks, with their names;
// everything derived stays in place.
void SwapSighting(Object& a, Object& b) {
  std::swap(a.name, b.name);
  std::swap(a.visible, b.visible);
  std::swap(a.vis_time, b.vis_time);
  std::swap(a.before_vis_time, b.before_vis_time);
  std::swap(a.distance, b.distance);
  std::swap(a.h_angle, b.h_angle);
  std::swap(a.v_angle, b.v_angle);
}

}  // namespace

Object::Object() : Object(std::string()) {}

Object::Object(const std::string& n)
    : name(n),
      visible(false),
      vis_time(0.0),
      before_vis_time(0.0),
      distance(0.0),
      h_angle(0.0),
      v_angle(0.0),
      h_abyss(0.0),
      v_abyss(0.0),
      rel_cod_(Eigen::Vector3d::Zero()),
      measure_covariance_error_(Eigen::Matrix<double, 6, 6>::Zero()) {}

void Object::UpdateAbyss(double hj1, double hj2) {
  if (!visible) return;
  h_abyss = h_angle + hj1;
  v_abyss = v_angle + hj2;
}

void Object::UpdateRelativeCoordinate(int /*index*/, double yaw) {
  if (!visible) return;
  const double v = Tool::ToRadians(v_abyss);
  const double h = Tool::ToRadians(h_abyss - yaw);
  const double r = distance * std::cos(v);
  rel_cod_(0) = r * std::sin(h);
  rel_cod_(1) = r * std::cos(h);
  rel_cod_(2) = distance * std::sin(v);
}

void Object::UpdateMeasureCovarianceError(int index, double yaw) {
  if (!visible) return;
  const double d = distance;
  const double v = Tool::ToRadians(kVerticalNoiseDeg + v_abyss);
  const double r = (d + kDistanceNoisePercent * d / 100.0) * std::cos(v);
  const double h = Tool::ToRadians(kHorizonNoiseDeg + h_abyss - yaw);
  Eigen::Vector3d pushed(r * std::sin(h), r * std::cos(h), d * std::sin(v));
  const bool goal_post = index >= 4 && index <= 7;
  if (goal_post) pushed(2) = -pushed(2);
  const double e = (pushed - rel_cod_).norm();

  double dt = vis_time - before_vis_time;
  if (dt == 0.0) dt = kDefaultSightingInterval;

  const Eigen::Matrix3d previous = measure_covariance_error_.topLeftCorner<3, 3>();
  Eigen::Matrix<double, 6, 6> m = Eigen::Matrix<double, 6, 6>::Zero();
  for (int i = 0; i < 3; ++i) m(i, i) = e;
  m.bottomRightCorner<3, 3>() = previous;
  for (int i = 0; i < 3; ++i) m(3 + i, 3 + i) += e / dt;
  measure_covariance_error_ = m;
}

void Object::ReverseFlagsPosition(Object* const* flags, bool see) {
  if (!see) return;
  for (const auto& pair : kMirrorPairs) SwapSighting(*flags[pair[0]], *flags[pair[1]]);
}

void Object::RestoreFlagOrder(Object* const* flags) {
  for (const auto& pair : kMirrorPairs) {
    if (flags[pair[0]]->name != kFlagNames[pair[0]]) SwapSighting(*flags[pair[0]], *flags[pair[1]]);
  }
}
