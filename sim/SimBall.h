#ifndef VEKTORLING_SIM_SIMBALL_H
#define VEKTORLING_SIM_SIMBALL_H

#include <Eigen/Dense>

#include "SimKinematics.h"

// The ball: rolls with friction, bounces on the ground, stays inside the
// field's edge, and notices when it crosses a goal line between the posts
// and below the crossbar.
class SimBall {
public:
  enum class Event {
    kNone,
    kIntoLeftGoal,   // crossed x = -15 between the posts: the right team scored
    kIntoRightGoal,  // crossed x = +15 between the posts: the left team scored
    kOut,            // left the field and was put back at the edge
  };

  static constexpr double kRollDecel = 0.5;    // m/s^2 of rolling resistance
  static constexpr double kRollDrag = 0.3;     // 1/s, speed-proportional part
  static constexpr double kBounce = 0.5;       // restitution on the ground
  static constexpr double kKickGain = 1.6;     // ball speed per foot speed
  static constexpr double kMinKickSpeed = 0.05;  // foot speed (m/s) that counts as moving into the ball
  static constexpr double kMaxSpeed = 10.0;    // m/s

  SimBall();

  // Puts the ball at pos (its centre; raised to rest on the ground if lower) with vel.
  void Place(const Eigen::Vector3d& pos, const Eigen::Vector3d& vel = Eigen::Vector3d::Zero());
  const Eigen::Vector3d& Position() const { return pos_; }
  const Eigen::Vector3d& Velocity() const { return vel_; }

  // Advances dt seconds. Goal lines only count when goals_count is true;
  // otherwise a ball crossing them is put back at the edge like any ball
  // that leaves the field.
  Event Step(double dt, bool goals_count);

  // A box (a foot: frame at the centre of its bottom face, half extents
  // hx, hy and height h) moving with velocity v. A box that moves into the
  // ball kicks it off in the box's horizontal direction of motion, faster
  // for a faster box; a ball that rolls into a still box bounces off.
  // True when they touched.
  bool CollideBox(const Frame& box, double hx, double hy, double h, const Eigen::Vector3d& v);
  // A body standing on the ground as a horizontal capsule from a to b with
  // the given radius, moving with v: pushes a ball near the ground out of
  // it. True when they touched.
  bool PushOutOfCapsule(const Eigen::Vector2d& a, const Eigen::Vector2d& b, double radius,
                        const Eigen::Vector2d& v);

private:
  void LimitSpeed();

  Eigen::Vector3d pos_;
  Eigen::Vector3d vel_ = Eigen::Vector3d::Zero();
};

#endif
