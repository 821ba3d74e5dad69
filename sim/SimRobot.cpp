#include "SimRobot.h"

#include <algorithm>
#include <cmath>

#include "FieldGeometry.h"
#include "FieldUnits.h"

namespace {

using FieldUnits::kDegToRad;
// The body's own acceleration enters the sensor smoothed and capped: joint
// speeds change at once here, which real motors cannot do.
constexpr double kMaxLinearAcc = 4.0;  // m/s^2

Eigen::Matrix3d RotZ(double deg) {
  return Eigen::AngleAxisd(deg * kDegToRad, Eigen::Vector3d::UnitZ()).toRotationMatrix();
}
Eigen::Matrix3d RotX(double deg) {
  return Eigen::AngleAxisd(deg * kDegToRad, Eigen::Vector3d::UnitX()).toRotationMatrix();
}

// Heading (degrees from +x) of the forward axis (y) of an orientation, or
// nan when that axis stands almost vertical.
double ForwardHeading(const Eigen::Matrix3d& r) {
  const Eigen::Vector3d f = r.col(1);
  if (std::hypot(f.x(), f.y()) < 0.1) return std::nan("");
  return std::atan2(f.y(), f.x()) / kDegToRad;
}

double Cross(const Eigen::Vector2d& o, const Eigen::Vector2d& a, const Eigen::Vector2d& b) {
  return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

double SegmentDistance(const Eigen::Vector2d& p, const Eigen::Vector2d& a, const Eigen::Vector2d& b) {
  const Eigen::Vector2d ab = b - a;
  const double len2 = ab.squaredNorm();
  double t = len2 > 0 ? (p - a).dot(ab) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return (a + t * ab - p).norm();
}

// Corner i (0 to 3) of a sole, in the sole frame.
Eigen::Vector3d SoleCorner(int i) {
  return Eigen::Vector3d(i & 1 ? SimKinematics::kSoleHalfWidth : -SimKinematics::kSoleHalfWidth,
                         i & 2 ? SimKinematics::kSoleHalfLength : -SimKinematics::kSoleHalfLength, 0.0);
}

// The feet of a lying robot. The body lies on its back or chest with its
// centre kLyingHeight up; the legs are thinner, so a sole corner this close to
// the ground touches it: feet in line with the body rest on their heels (on
// the back) or toes (on the front), drawn-up feet touch nothing.
constexpr double kLyingFootReach = 0.02;  // metres
// What each foot carried on the real server with the robot lying: 8 to 10 N.
constexpr double kLyingFootForce = 9.0;  // newtons
// The real server's robot never lies quite flat: on its arms and head, its
// head end was 1 to 12 degrees up. The foot forces lean by this much; the
// torso frame, and with it the accelerometer, stays level.
constexpr double kLyingSlantDeg = 10.0;

// How far p lies outside the convex hull of the points (0 inside).
double OutsideHull(const Eigen::Vector2d& p, Eigen::Vector2d* pts, int n) {
  // Insertion sort by x, then y: at most eight corners.
  for (int i = 1; i < n; ++i) {
    const Eigen::Vector2d key = pts[i];
    int j = i - 1;
    while (j >= 0 && (pts[j].x() > key.x() || (pts[j].x() == key.x() && pts[j].y() > key.y()))) {
      pts[j + 1] = pts[j];
      --j;
    }
    pts[j + 1] = key;
  }
  Eigen::Vector2d hull[17];
  int k = 0;
  for (int i = 0; i < n; ++i) {  // lower hull
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
    hull[k++] = pts[i];
  }
  for (int i = n - 2, t = k + 1; i >= 0; --i) {  // upper hull
    while (k >= t && Cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
    hull[k++] = pts[i];
  }
  const int h = k - 1;  // the last point repeats the first
  if (h < 3) {
    double d = (p - pts[0]).norm();
    for (int i = 0; i + 1 < n; ++i) d = std::min(d, SegmentDistance(p, pts[i], pts[i + 1]));
    return d;
  }
  bool inside = true;
  double d = 1e9;
  for (int i = 0; i < h; ++i) {
    if (Cross(hull[i], hull[i + 1], p) < 0) inside = false;
    d = std::min(d, SegmentDistance(p, hull[i], hull[i + 1]));
  }
  return inside ? 0.0 : d;
}

// One foot of a lying robot: it touches at its lowest sole corners (their
// middle, when several are as low), and the ground pushes straight up.
FootContact LyingFootContact(const Frame& torso, const Frame& sole) {
  const Frame world = torso * sole;
  double z[4];
  double lowest = 1e9;
  for (int i = 0; i < 4; ++i) lowest = std::min(lowest, z[i] = (world * SoleCorner(i)).z());
  FootContact foot;
  if (lowest > kLyingFootReach) return foot;
  Eigen::Vector3d at = Eigen::Vector3d::Zero();
  int n = 0;
  for (int i = 0; i < 4; ++i) {
    if (z[i] > lowest + SimRobot::kContactTolerance) continue;
    at += SoleCorner(i);
    ++n;
  }
  foot.contact = true;
  foot.c = at / n - Eigen::Vector3d(0.0, 0.0, SimKinematics::kSoleDepth);
  const double slant = kLyingSlantDeg * kDegToRad;
  const Eigen::Vector3d up =
      std::cos(slant) * (torso.R.transpose() * Eigen::Vector3d::UnitZ()) + std::sin(slant) * Eigen::Vector3d::UnitZ();
  foot.f = kLyingFootForce * (sole.R.transpose() * up);
  return foot;
}

}  // namespace

SimRobot::SimRobot() {
  kin_.Compute(q_);
  PlaceUpright(Eigen::Vector2d::Zero(), 0.0);
}

void SimRobot::SetJointVelocity(int joint, double v) {
  if (joint < 0 || joint >= RobotBody::kJointNum || !std::isfinite(v)) return;
  vel_[joint] = std::clamp(v, -kMaxJointSpeed, kMaxJointSpeed);
}

void SimRobot::SetJointAngle(int joint, double deg) {
  if (joint < 0 || joint >= RobotBody::kJointNum || !std::isfinite(deg)) return;
  const RobotBody::Joint& s = RobotBody::kJoints[joint];
  q_[joint] = std::clamp(deg, s.min, s.max);
}

double SimRobot::Heading() const {
  if (state_ == State::kFalling || state_ == State::kLying) return heading_;
  double h = ForwardHeading(torso_.R);
  if (std::isnan(h)) h = ForwardHeading(support_sole_.R);
  return std::isnan(h) ? heading_ : h;
}

void SimRobot::PlaceUpright(const Eigen::Vector2d& xy, double heading_deg) {
  kin_.Compute(q_);
  const double zl = kin_.Sole(SimKinematics::kLeft).p.z();
  const double zr = kin_.Sole(SimKinematics::kRight).p.z();
  if (zl < zr - 1e-9) support_ = SimKinematics::kLeft;
  else if (zr < zl - 1e-9) support_ = SimKinematics::kRight;
  const Frame& st = kin_.Sole(support_);
  const Eigen::Matrix3d rel = st.R.transpose();  // torso seen from the flat sole
  double h0 = ForwardHeading(rel);
  if (std::isnan(h0)) h0 = 90.0;
  // Turning the flat sole by a about z turns the torso's heading by a.
  support_sole_.R = RotZ(heading_deg - h0);
  const Eigen::Matrix3d rt = support_sole_.R * rel;
  const Eigen::Vector3d off = rt * st.p;
  support_sole_.p = Eigen::Vector3d(xy.x() + off.x(), xy.y() + off.y(), 0.0);
  state_ = State::kUpright;
  heading_ = heading_deg;
  SetTorsoFromSupport();
  history_valid_ = false;
  step_mark_ = torso_.p.head<2>();
  step_mark_valid_ = true;
  outside_steps_ = 0;
  crouch_steps_ = 0;
  impact_left_ = 0;
  drop_left_ = 0;
  resting_ = false;
  for (auto& f : foot_) f = FootContact();
}

void SimRobot::Beam(const Eigen::Vector2d& xy, double heading_deg) {
  PlaceUpright(xy, heading_deg);
  resting_ = true;
}

void SimRobot::Drop(const Eigen::Vector2d& xy, double heading_deg) {
  PlaceUpright(xy, heading_deg);
  state_ = State::kAirborne;
  drop_left_ = kDropSteps;
  const double t = drop_left_ * FieldUnits::kStepSeconds;
  support_sole_.p.z() = 0.5 * FieldGeometry::kGravity * t * t;
  SetTorsoFromSupport();
}

void SimRobot::Push(bool onto_back) {
  if (state_ != State::kUpright) return;
  StartFall(onto_back);
}

void SimRobot::SetTorsoFromSupport() {
  const Frame& st = kin_.Sole(support_);
  torso_.R = support_sole_.R * st.R.transpose();
  torso_.p = support_sole_.p - torso_.R * st.p;
}

bool SimRobot::FootTouches(int side) const {
  if (side == support_) return true;
  const Frame s = SoleWorld(side);
  double lowest = 1e9;
  for (int i = 0; i < 4; ++i) lowest = std::min(lowest, (s * SoleCorner(i)).z());
  return lowest <= kContactTolerance;
}

double SimRobot::SupportDistance(const Eigen::Vector2d& p) const {
  Eigen::Vector2d pts[8];
  int n = 0;
  for (int side = 0; side < 2; ++side) {
    if (!FootTouches(side)) continue;
    const Frame s = SoleWorld(side);
    for (int i = 0; i < 4; ++i) pts[n++] = (s * SoleCorner(i)).head<2>();
  }
  return OutsideHull(p, pts, n);
}

void SimRobot::Step(double dt) {
  const Frame before = torso_;
  const Eigen::Vector3d sole_before[2] = {SoleWorld(0).p, SoleWorld(1).p};
  const bool had_history = history_valid_;

  bool moved = false;
  for (int j = 0; j < RobotBody::kJointNum; ++j) {
    if (vel_[j] == 0.0) continue;
    moved = true;
    const RobotBody::Joint& s = RobotBody::kJoints[j];
    q_[j] = std::clamp(q_[j] + vel_[j] * dt / kDegToRad, s.min, s.max);
  }
  if (moved) resting_ = false;
  kin_.Compute(q_);

  landing_ = false;
  switch (state_) {
    case State::kAirborne:
      if (--drop_left_ <= 0) {
        support_sole_.p.z() = 0.0;
        state_ = State::kUpright;
        landing_ = true;
      } else {
        const double t = drop_left_ * dt;
        support_sole_.p.z() = 0.5 * FieldGeometry::kGravity * t * t;
      }
      SetTorsoFromSupport();
      break;
    case State::kUpright:
      UpdateUpright(before);
      break;
    case State::kFalling:
      UpdateFalling();
      break;
    case State::kLying:
      UpdateLying();
      break;
  }

  if (state_ != State::kUpright) step_mark_valid_ = false;
  if (had_history && history_valid_) {
    for (int s = 0; s < 2; ++s) sole_vel_[s] = (SoleWorld(s).p - sole_before[s]) / dt;
  } else {
    sole_vel_[0].setZero();
    sole_vel_[1].setZero();
  }
  ComputeSensors(before, dt);
  ComputeFootContacts();
  history_valid_ = true;
}

void SimRobot::TakeSupport(int side, const Frame& before) {
  // The foot stays where the body as it stood before this step puts it,
  // laid flat on the ground.
  const Frame sole = before * kin_.Sole(side);
  double yaw = ForwardHeading(sole.R);
  if (std::isnan(yaw)) yaw = ForwardHeading(support_sole_.R);
  support_sole_.R = RotZ(yaw - 90.0);
  support_sole_.p = Eigen::Vector3d(sole.p.x(), sole.p.y(), 0.0);
  support_ = side;
}

void SimRobot::CountStep(const Eigen::Vector2d& old_print) {
  const Eigen::Vector2d torso = torso_.p.head<2>();
  if (step_mark_valid_) {
    const double h = Heading() * kDegToRad;
    ++steps;
    distance_walked += (torso - step_mark_).norm();
    stride += (support_sole_.p.head<2>() - old_print).dot(Eigen::Vector2d(std::cos(h), std::sin(h)));
  }
  step_mark_ = torso;
  step_mark_valid_ = true;
}

void SimRobot::UpdateUpright(const Frame& before) {
  // The lower foot carries the body: judged with the body as it stood, so
  // that lifting a leg lifts that leg and does not tip the body over the
  // foot that rises.
  const int was = support_;
  const Eigen::Vector2d old_print = support_sole_.p.head<2>();
  const int other = 1 - support_;
  if ((before * kin_.Sole(other)).p.z() < (before * kin_.Sole(support_)).p.z() - kSwitchTolerance) {
    TakeSupport(other, before);
  }
  SetTorsoFromSupport();
  // A foot that would still sink into the ground takes over as well.
  if (SoleWorld(1 - support_).p.z() < -kSwitchTolerance) {
    TakeSupport(1 - support_, before);
    SetTorsoFromSupport();
  }
  const int other_now = 1 - support_;
  if (support_ != was) CountStep(old_print);

  const Eigen::Vector3d com = CentreOfMassWorld();
  const Eigen::Vector2d c = com.head<2>();
  if (SupportDistance(c) > kFallMargin) {
    if (++outside_steps_ >= kFallConfirmSteps) {
      Eigen::Vector2d centre = SoleWorld(support_).p.head<2>();
      if (FootTouches(other_now)) centre = 0.5 * (centre + SoleWorld(other_now).p.head<2>());
      const double h = Heading() * kDegToRad;
      const Eigen::Vector2d fwd(std::cos(h), std::sin(h));
      StartFall((c - centre).dot(fwd) < 0.0);
    }
  } else {
    outside_steps_ = 0;
  }
}

void SimRobot::StartFall(bool backwards) {
  heading_ = Heading();
  fall_from_ = torso_;
  const double h = heading_ * kDegToRad;
  const Eigen::Vector2d fwd(std::cos(h), std::sin(h));
  // Lying on the back: chest (y) up, head (z) pointing backwards; on the front the reverse.
  fall_to_.R = RotZ(heading_ - 90.0) * RotX(backwards ? 90.0 : -90.0);
  const Eigen::Vector2d feet =
      0.5 * (SoleWorld(SimKinematics::kLeft).p.head<2>() + SoleWorld(SimKinematics::kRight).p.head<2>());
  const Eigen::Vector2d at = feet + (backwards ? -0.35 : 0.35) * fwd;
  fall_to_.p = Eigen::Vector3d(at.x(), at.y(), kLyingHeight);
  state_ = State::kFalling;
  fall_step_ = 0;
  outside_steps_ = 0;
  crouch_steps_ = 0;
  ++falls;
}

void SimRobot::UpdateFalling() {
  ++fall_step_;
  const double f = std::min(1.0, static_cast<double>(fall_step_) / kFallSteps);
  const double e = f * f;  // tipping over speeds up
  const Eigen::Quaterniond q0(fall_from_.R), q1(fall_to_.R);
  torso_.R = q0.slerp(e, q1).toRotationMatrix();
  torso_.p = (1.0 - e) * fall_from_.p + e * fall_to_.p;
  if (fall_step_ >= kFallSteps) {
    torso_ = fall_to_;
    state_ = State::kLying;
    impact_left_ = kImpactSteps;
    crouch_steps_ = 0;
  }
}

void SimRobot::UpdateLying() {
  torso_ = fall_to_;
  crouch_steps_ = InBalancedCrouch() ? crouch_steps_ + 1 : 0;
  if (crouch_steps_ >= kCrouchHoldSteps) {
    // Comes up between where the torso lay and where the feet are.
    const Eigen::Vector2d feet =
        0.5 * (SoleWorld(SimKinematics::kLeft).p.head<2>() + SoleWorld(SimKinematics::kRight).p.head<2>());
    PlaceUpright(0.5 * (torso_.p.head<2>() + feet), heading_);
    ++standups;
  }
}

// A crouch the robot could rise from, judged by standing it in its present
// posture on the lower sole laid flat: knees bent, both feet on the ground,
// the torso above them (not leaning further than kCrouchLeanDeg) and the
// centre of mass over the feet, whichever way the robot lies. Legs drawn up
// to the chest, as in the middle of a way up, are not such a crouch.
bool SimRobot::InBalancedCrouch() const {
  if (q_[kLlj4] > -kCrouchKneeDeg || q_[kRlj4] > -kCrouchKneeDeg) return false;
  const double zl = kin_.Sole(SimKinematics::kLeft).p.z();
  const double zr = kin_.Sole(SimKinematics::kRight).p.z();
  const int s = zl < zr - 1e-9 ? SimKinematics::kLeft : zr < zl - 1e-9 ? SimKinematics::kRight : support_;
  // In the frame of the lower sole laid flat, z is up and the torso, the
  // other sole and the centre of mass keep their places relative to it.
  const Frame to_sole = kin_.Sole(s).Inverse();
  if (to_sole.R(2, 2) < std::cos(kCrouchLeanDeg * kDegToRad)) return false;
  const Frame other = to_sole * kin_.Sole(1 - s);
  Eigen::Vector2d pts[8];
  double lowest = 1e9;
  for (int i = 0; i < 4; ++i) {
    const Eigen::Vector3d oc = other * SoleCorner(i);
    lowest = std::min(lowest, oc.z());
    pts[i] = SoleCorner(i).head<2>();
    pts[4 + i] = oc.head<2>();
  }
  if (std::fabs(lowest) > kCrouchFeetLevel) return false;
  return OutsideHull((to_sole * kin_.CentreOfMass()).head<2>(), pts, 8) <= kFallMargin;
}

void SimRobot::ComputeSensors(const Frame& before, double dt) {
  const Eigen::Vector3d up(0.0, 0.0, FieldGeometry::kGravity);
  const Eigen::Matrix3d rt = torso_.R.transpose();
  if (history_valid_) {
    const Eigen::AngleAxisd turn(before.R.transpose() * torso_.R);
    gyro_ = turn.axis() * (turn.angle() / dt / kDegToRad);
    const Eigen::Vector3d v = (torso_.p - before.p) / dt;
    lin_acc_ = 0.5 * lin_acc_ + 0.5 * (v - lin_vel_) / dt;
    for (int i = 0; i < 3; ++i) lin_acc_[i] = std::clamp(lin_acc_[i], -kMaxLinearAcc, kMaxLinearAcc);
    lin_vel_ = v;
  } else {
    gyro_.setZero();
    lin_vel_.setZero();
    lin_acc_.setZero();
  }

  switch (state_) {
    case State::kAirborne:
      acc_.setZero();  // free fall
      break;
    case State::kUpright:
      if (landing_) acc_ = rt * Eigen::Vector3d(0, 0, FieldGeometry::kGravity + 36.5);
      else acc_ = rt * (up + lin_acc_);
      break;
    case State::kFalling:
      acc_ = rt * up;
      break;
    case State::kLying:
      if (impact_left_ > 0) {
        const double shock = impact_left_ == kImpactSteps ? kImpactAcc : 0.8 * kImpactAcc;
        acc_ = rt * Eigen::Vector3d(0, 0, FieldGeometry::kGravity + shock);
        --impact_left_;
      } else {
        acc_ = rt * up;
      }
      break;
  }
}

void SimRobot::ComputeFootContacts() {
  for (auto& f : foot_) f = FootContact();
  if (state_ == State::kLying) {
    for (int s = 0; s < 2; ++s) foot_[s] = LyingFootContact(torso_, kin_.Sole(s));
    return;
  }
  if (state_ != State::kUpright || resting_) return;
  const Eigen::Vector3d com = CentreOfMassWorld();
  bool touch[2];
  double dist[2];
  Frame sole[2];
  for (int s = 0; s < 2; ++s) {
    touch[s] = FootTouches(s);
    sole[s] = SoleWorld(s);
    dist[s] = (sole[s].p - com).head<2>().norm();
  }
  // The nearer foot carries more; each foot's centre of pressure is shifted
  // from its sole centre so that together they stand under the centre of mass.
  double share[2] = {touch[0] ? 1.0 : 0.0, touch[1] ? 1.0 : 0.0};
  if (touch[0] && touch[1]) {
    const double sum = dist[0] + dist[1];
    share[0] = sum > 1e-9 ? dist[1] / sum : 0.5;
    share[1] = 1.0 - share[0];
  }
  const Eigen::Vector3d centre = share[0] * sole[0].p + share[1] * sole[1].p;
  double weight = Mass() * FieldGeometry::kGravity;
  if (landing_) weight *= 1.0 + 36.5 / FieldGeometry::kGravity;
  else weight *= std::max(0.0, 1.0 + lin_acc_.z() / FieldGeometry::kGravity);
  for (int s = 0; s < 2; ++s) {
    if (!touch[s]) continue;
    Eigen::Vector3d local = sole[s].R.transpose() * (com - centre);
    local.x() = std::clamp(local.x(), -SimKinematics::kSoleHalfWidth, SimKinematics::kSoleHalfWidth);
    local.y() = std::clamp(local.y(), -SimKinematics::kSoleHalfLength, SimKinematics::kSoleHalfLength);
    foot_[s].contact = true;
    foot_[s].c = Eigen::Vector3d(local.x(), local.y(), -SimKinematics::kSoleDepth);
    foot_[s].f = sole[s].R.transpose() * Eigen::Vector3d(0, 0, weight * share[s]);
  }
}
