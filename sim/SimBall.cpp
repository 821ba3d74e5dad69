#include "SimBall.h"

#include <algorithm>
#include <cmath>

#include "FieldGeometry.h"

using namespace FieldGeometry;

SimBall::SimBall() : pos_(0.0, 0.0, kBallRadius) {}

void SimBall::Place(const Eigen::Vector3d& pos, const Eigen::Vector3d& vel) {
  pos_ = pos;
  if (!pos_.allFinite()) pos_ = Eigen::Vector3d(0.0, 0.0, kBallRadius);
  pos_.z() = std::max(pos_.z(), kBallRadius);
  vel_ = vel.allFinite() ? vel : Eigen::Vector3d::Zero();
  LimitSpeed();
}

void SimBall::LimitSpeed() {
  const double s = vel_.norm();
  if (s > kMaxSpeed) vel_ *= kMaxSpeed / s;
}

SimBall::Event SimBall::Step(double dt, bool goals_count) {
  const Eigen::Vector3d before = pos_;
  const bool on_ground = pos_.z() <= kBallRadius + 1e-6 && vel_.z() <= 0.0;
  if (on_ground) {
    vel_.z() = 0.0;
    const double speed = vel_.head<2>().norm();
    if (speed > 0.0) {
      const double loss = (kRollDecel + kRollDrag * speed) * dt;
      vel_.head<2>() *= loss >= speed ? 0.0 : (speed - loss) / speed;
    }
    pos_.head<2>() += vel_.head<2>() * dt;
  } else {
    vel_.z() -= kGravity * dt;
    pos_ += vel_ * dt;
    if (pos_.z() < kBallRadius) {
      pos_.z() = kBallRadius;
      vel_.z() = -vel_.z() * kBounce;
      if (vel_.z() < 0.3) vel_.z() = 0.0;
      vel_.head<2>() *= 0.9;
    }
  }

  Event event = Event::kNone;
  const double line = kHalfLength + kBallRadius;  // wholly over the goal line
  if (std::fabs(pos_.x()) > line) {
    const double side = pos_.x() > 0 ? 1.0 : -1.0;
    const bool in_mouth = std::fabs(pos_.y()) < kGoalHalfWidth && pos_.z() < kGoalHeight;
    if (std::fabs(before.x()) <= line) {
      if (goals_count && in_mouth) {
        event = side > 0 ? Event::kIntoRightGoal : Event::kIntoLeftGoal;
        vel_.setZero();
      } else {
        pos_.x() = side * kHalfLength;
        vel_.setZero();
        event = Event::kOut;
      }
    } else if (in_mouth && std::fabs(pos_.x()) < kHalfLength + kGoalDepth) {
      vel_.setZero();  // lies in the goal
    } else {
      pos_.x() = side * kHalfLength;
      vel_.setZero();
      event = Event::kOut;
    }
  }
  if (std::fabs(pos_.y()) > kHalfWidth) {
    pos_.y() = pos_.y() > 0 ? kHalfWidth : -kHalfWidth;
    vel_.setZero();
    if (event == Event::kNone) event = Event::kOut;
  }
  return event;
}

bool SimBall::CollideBox(const Frame& box, double hx, double hy, double h, const Eigen::Vector3d& v) {
  // The box in its own axes spans [-hx, hx] x [-hy, hy] x [0, h].
  const Eigen::Vector3d local = box.R.transpose() * (pos_ - box.p);
  const Eigen::Vector3d lo(-hx, -hy, 0.0), hi(hx, hy, h);
  const Eigen::Vector3d closest = local.cwiseMax(lo).cwiseMin(hi);
  Eigen::Vector3d d = local - closest;
  double dist = d.norm();
  if (dist >= kBallRadius) return false;
  if (dist < 1e-9) {
    // Centre inside the box: leave through the nearest horizontal face.
    const double gaps[4] = {hx - local.x(), local.x() + hx, hy - local.y(), local.y() + hy};
    const int k = static_cast<int>(std::min_element(gaps, gaps + 4) - gaps);
    d = Eigen::Vector3d(k == 0 ? 1 : k == 1 ? -1 : 0, k == 2 ? 1 : k == 3 ? -1 : 0, 0);
    dist = 1.0;
  }
  Eigen::Vector3d n = box.R * (d / dist);
  if (std::fabs(n.z()) > 0.99) n = Eigen::Vector3d(v.x(), v.y(), 0.0).normalized();  // on top: roll off
  if (!n.allFinite()) n = Eigen::Vector3d::UnitX();
  pos_ = box * closest + n * kBallRadius;
  pos_.z() = std::max(pos_.z(), kBallRadius);

  const Eigen::Vector2d vh = v.head<2>();
  const double foot_speed = vh.norm();
  const double into = v.dot(n);
  if (into > kMinKickSpeed && foot_speed > kMinKickSpeed) {
    vel_.head<2>() = vh * kKickGain;
    vel_.z() = std::max(0.0, vel_.z());
  } else {
    const double rel = (vel_ - v).dot(n);
    if (rel < 0.0) vel_ -= 1.3 * rel * n;
    vel_.z() = std::max(0.0, vel_.z());
  }
  LimitSpeed();
  return true;
}

bool SimBall::PushOutOfCapsule(const Eigen::Vector2d& a, const Eigen::Vector2d& b, double radius,
                               const Eigen::Vector2d& v) {
  if (pos_.z() > 0.3) return false;
  const Eigen::Vector2d p = pos_.head<2>();
  const Eigen::Vector2d ab = b - a;
  const double len2 = ab.squaredNorm();
  const double t = len2 > 0 ? std::clamp((p - a).dot(ab) / len2, 0.0, 1.0) : 0.0;
  const Eigen::Vector2d c = a + t * ab;
  Eigen::Vector2d d = p - c;
  const double reach = radius + kBallRadius;
  double dist = d.norm();
  if (dist >= reach) return false;
  Eigen::Vector2d n = dist > 1e-9 ? Eigen::Vector2d(d / dist) : Eigen::Vector2d(1.0, 0.0);
  pos_.head<2>() = c + n * reach;
  const double rel = (vel_.head<2>() - v).dot(n);
  if (rel < 0.0) vel_.head<2>() -= 1.2 * rel * n;
  LimitSpeed();
  return true;
}
