#ifndef VEKTORLING_OBJECT_OBJECT_H
#define VEKTORLING_OBJECT_OBJECT_H

#include <string>

#include <Eigen/Core>

// One thing the camera reports in polar form: a landmark, the ball or a body
// part of another player. Keeps the latest sighting, the direction relative
// to the torso, the position relative to the robot (yaw corrected) and the
// measurement error handed to the position filter. The perceptor parser
// writes the sighting straight into the object it is handed.
class Object {
 public:
  // Landmarks always come as an array of eight in this order: corner flags
  // 0 to 3, goal posts 4 to 7.
  static constexpr int kFlagNum = 8;
  static const char* const kFlagNames[kFlagNum];

  Object();
  explicit Object(const std::string& name);
  virtual ~Object() = default;
  Object(const Object&) = default;
  Object& operator=(const Object&) = default;

  // Sighting, written by the perceptor parser.
  void SetVisible(bool visible) { this->visible = visible; }
  void SetVisTime(double t) { vis_time = t; }
  void SetBeforeVisTime(double t) { before_vis_time = t; }
  void SetDistance(double d) { distance = d; }
  void SetHorizonAngle(double a) { h_angle = a; }
  void SetVerticalAngle(double a) { v_angle = a; }
  void InitName(const std::string& n) { name = n; }

  const std::string& GetName() const { return name; }
  bool GetVisible() const { return visible; }
  double GetVisTime() const { return vis_time; }
  double GetBeforeVisTime() const { return before_vis_time; }
  double GetDistance() const { return distance; }
  double GetHorizonAngle() const { return h_angle; }
  double GetVerticalAngle() const { return v_angle; }
  double GetHorizonAbyss() const { return h_abyss; }
  double GetVerticalAbyss() const { return v_abyss; }
  const Eigen::Vector3d& GetRelCoord() const { return rel_cod_; }
  // Component i (0..2) of rel_cod_; 0 for any other index.
  double GetRelCoord(int i) const { return (i >= 0 && i < 3) ? rel_cod_(i) : 0.0; }
  const Eigen::Matrix<double, 6, 6>& GetMeasureCovarianceError() const {
    return measure_covariance_error_;
  }

  // Direction relative to the torso: camera angles plus the neck angles
  // (hj1, hj2, degrees).
  void UpdateAbyss(double hj1, double hj2);
  // Position relative to the robot, turned by the integrated body yaw
  // (degrees). The index is accepted for symmetry with the error update;
  // unused.
  void UpdateRelativeCoordinate(int index, double yaw);
  // Measurement error of rel_cod_ for the landmark with this index (0..7);
  // UpdateRelativeCoordinate must have run first.
  void UpdateMeasureCovarianceError(int index, double yaw);

  // Swaps the sightings of opposite landmarks (for a robot playing on the
  // right side); only in a cycle whose message carried vision (see). The
  // names go with the sightings: afterwards each object is named after the
  // landmark whose sighting it holds.
  static void ReverseFlagsPosition(Object* const* flags, bool see);
  // Puts every landmark's sighting back into the object of its own index,
  // undoing ReverseFlagsPosition; the parser writes landmark i into object i.
  static void RestoreFlagOrder(Object* const* flags);

  // The landmark (or thing) whose sighting this object holds.
  std::string name;
  bool visible;
  double vis_time;
  double before_vis_time;
  double distance;
  double h_angle;
  double v_angle;
  double h_abyss;
  double v_abyss;
  Eigen::Vector3d rel_cod_;
  Eigen::Matrix<double, 6, 6> measure_covariance_error_;

  EIGEN_MAKE_ALIGNED_OPERATOR_NEW
};

#endif  // VEKTORLING_OBJECT_OBJECT_H
