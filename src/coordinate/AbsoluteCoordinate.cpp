#include "coordinate/AbsoluteCoordinate.h"

#include <cmath>

#include "object/Ball.h"
#include "object/Object.h"
#include "tool/Tool.h"

namespace {

// The models advance a fixed step; elapsed time is never measured here.
constexpr double kStep = 0.02;

// Landmark positions in the field frame, in landmark order.
const double kLandmarks[Object::kFlagNum][3] = {
    {-10, -15, 0},       {10, -15, 0},       {-10, 15, 0},      {10, 15, 0},
    {-1.05, -15, -0.8},  {1.05, -15, -0.8},  {-1.05, 15, -0.8}, {1.05, 15, -0.8}};

// Process noise of each kind of estimate.
constexpr double kOwnProcessNoise = 0.0001;
constexpr double kBallProcessNoise = 0.0005;
constexpr double kOtherProcessNoise = 0.012 / 2;

// The ball slows by linear drag: coefficient over its mass.
constexpr double kBallDrag = -0.01 / 0.026;
// Other players' parts are assumed to slow down quickly.
constexpr double kOtherDrag = -0.1;
// Sightings of the ball closer than this in time are taken 0.06 s apart.
constexpr double kMinBallInterval = 0.05;
constexpr double kDefaultBallInterval = 0.06;

// Metres walked per message at full forward speed.
constexpr double kWalkStride = 6.0 / 217.0;

// B u for an acceleration input u.
KalmanVector InputBu(const Eigen::Vector3d& u) {
  KalmanVector bu;
  bu << u * (kStep * kStep / 2), u * kStep;
  return bu;
}

// Rotation that brings measurement covariances into the field frame, from the
// integrated body rotation (degrees).
Eigen::Matrix3d ObservationRotation(const Eigen::Vector3d& total) {
  const Eigen::Vector3d zero = Eigen::Vector3d::Zero();
  return Tool::HomogeneousTransformationMatrix('X', total.x(), zero).topLeftCorner<3, 3>() *
         Tool::HomogeneousTransformationMatrix('Y', total.y(), zero).topLeftCorner<3, 3>() *
         Tool::HomogeneousTransformationMatrix('Z', total.z() - 90.0, zero).topLeftCorner<3, 3>();
}

// Measurement noise of a sighting: its position and velocity blocks rotated
// into the field frame.
KalmanMatrix RotatedNoise(const Eigen::Matrix3d& M, const KalmanMatrix& c) {
  KalmanMatrix R = KalmanMatrix::Zero();
  R.topLeftCorner<3, 3>() = M * c.topLeftCorner<3, 3>() * M.transpose();
  R.bottomRightCorner<3, 3>() = M * c.bottomRightCorner<3, 3>() * M.transpose();
  return R;
}

KalmanVector Stack(const Eigen::Vector3d& a, const Eigen::Vector3d& b) {
  KalmanVector v;
  v << a, b;
  return v;
}

}  // namespace

AbsoluteCoordinate::AbsoluteCoordinate(Kind kind)
    : cod_(Eigen::Vector3d::Zero()),
      before_measure_location_(Eigen::Vector3d::Zero()),
      abspeed_(Eigen::Vector3d::Zero()),
      before_time_(0.0),
      prev_cod2d_(Eigen::Vector2d::Zero()),
      speed_(0.0),
      covariance_error_(KalmanMatrix::Zero()),
      kind_(kind) {}

KalmanValue AbsoluteCoordinate::State() const {
  return KalmanValue(Stack(cod_, abspeed_), covariance_error_);
}

void AbsoluteCoordinate::SetState(const KalmanValue& value) {
  cod_ = value.x.head<3>();
  abspeed_ = value.x.tail<3>();
  covariance_error_ = value.P;
}

void AbsoluteCoordinate::Predict(double q, const Eigen::Vector3d& u) {
  KalmanVector x = Stack(cod_, abspeed_);
  KalmanFilter().TimeUpdateConstantVelocity(x, covariance_error_, kStep, InputBu(u), q);
  cod_ = x.head<3>();
  abspeed_ = x.tail<3>();
}

void AbsoluteCoordinate::Update(Object* const* flags, const EstimateInputs& in) {
  const Eigen::Vector3d before_location = cod_;

  // Without a sighting the velocity shrinks by 2 % per message.
  Predict(kOwnProcessNoise, -abspeed_);

  if (!in.see) {
    // Dead reckoning from the walk's forward speed along the body's heading.
    const double s = (1.0 - std::fabs(in.walk_direction) * 0.3) *
                     (1.0 - std::fabs(in.walk_curve) * 0.1) * in.walk_speed * kWalkStride;
    const double yaw = Tool::ToRadians(in.total.z());
    cod_.x() += std::sin(yaw) * s;
    cod_.y() += -std::cos(yaw) * s;
    return;
  }

  const Eigen::Matrix3d M = ObservationRotation(in.total);
  const KalmanFilter filter;
  KalmanValue value = State();
  for (int i = 0; i < Object::kFlagNum; ++i) {
    const Object& flag = *flags[i];
    if (!flag.visible) continue;
    // Observer = relative vector + landmark position.
    const Eigen::Vector3d m =
        flag.rel_cod_ + Eigen::Vector3d(kLandmarks[i][0], kLandmarks[i][1], kLandmarks[i][2]);
    value = filter.MeasurementUpdate(value, Stack(m, m - before_location),
                                     RotatedNoise(M, flag.measure_covariance_error_));
  }
  SetState(value);
}

void AbsoluteCoordinate::UpdateGenerate(const Eigen::Vector3d& obj_rel,
                                        const Eigen::Vector3d& my_abs, const EstimateInputs& in) {
  const KalmanFilter filter;
  const Eigen::Vector3d m = my_abs - obj_rel;  // object = observer - relative vector

  if (kind_ == BALL) {
    Predict(kBallProcessNoise, abspeed_ * kBallDrag);
    if (!in.see || in.ball == nullptr || !in.ball->visible) return;
    const Ball& ball = *in.ball;
    double dt = ball.vis_time - ball.before_vis_time;
    if (dt < kMinBallInterval) dt = kDefaultBallInterval;
    const KalmanVector z = Stack(m, (m - before_measure_location_) / dt);
    SetState(filter.MeasurementUpdate(
        State(), z, RotatedNoise(ObservationRotation(in.total), ball.measure_covariance_error_)));
    before_measure_location_ = m;
    return;
  }

  // A sighting replaces the whole estimate below, so a prediction would be
  // thrown away unread.
  const bool replaced = in.see && m.allFinite();
  if (!replaced) Predict(kOtherProcessNoise, kOtherDrag * abspeed_);
  if (!in.see) return;
  // The sighting is taken as exact (zero measurement noise) against a prior
  // whose covariance holds the process noise, so the gain is the identity:
  // the estimate jumps to the sighting, at rest, without uncertainty. Set
  // directly, that saves a 6 x 6 inversion for each of up to 110 parts.
  if (m.allFinite()) {
    cod_ = m;
    abspeed_.setZero();
    covariance_error_.setZero();
  }
  before_measure_location_ = m;
}

void AbsoluteCoordinate::CalcAbspeed(const double& time, bool see) {
  if (!see) return;
  const Eigen::Vector2d p = cod_.head<2>();
  const double step = time - before_time_;
  // A clock that stands still (or a message without one) gives no interval:
  // the previous speed stands.
  if (step > 0.0 && std::isfinite(step)) {
    speed_ = Tool::DistanceForTwoPoints(p, prev_cod2d_) / step;
  }
  prev_cod2d_ = p;
  before_time_ = time;
}
