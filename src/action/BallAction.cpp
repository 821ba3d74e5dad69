#include "action/BallAction.h"

#include <algorithm>
#include <cmath>

#include "agent/walking/Walking.h"
#include "message/Hear.h"
#include "object/Ball.h"

namespace {

constexpr double kDegToRad = M_PI / 180.0;

// Goal centres in the field frame.
const Eigen::Vector2d kOpponentGoal(0.0, -15.0);
const Eigen::Vector2d kOwnGoal(0.0, 15.0);

// The walking engine turns and steps to the left for positive commands.
constexpr double kCurveSign = 1.0;
constexpr double kDirectionSign = 1.0;

// Behind the ball: where the kicking foot reaches it from.
constexpr double kBehindBall = 0.2;
// Going round a ball that lies between the robot and the opponent's goal.
constexpr double kRoundBack = 0.6;
constexpr double kRoundSide = 0.7;
// Arrived: closer than this to the target, the robot only turns.
constexpr double kArrived = 0.2;
// Closer than this (horizontal distance, metres) the seen ball steers the
// robot rather than the position estimates; round the ball at kOrbit.
constexpr double kClose = 1.0;
constexpr double kOrbit = 0.35;
constexpr double kOrbitStep = 0.8;
// Off the line from the goal through the ball by more than this (degrees),
// a robot walking up to the ball first goes round it.
constexpr double kOffLine = 25.0;
// The kick: reach (horizontal distance, metres) and angle (degrees) of a
// ball in front of the body, and how well the body must face the goal.
constexpr double kReach = 0.19;
constexpr double kReachAngle = 10.0;
constexpr double kFacingGoal = 35.0;
constexpr double kMinFacingGoal = 8.0;
// Half the width the kick aims into around the goal's centre, metres: the
// goal near it; from afar, wider (a kick that moves the ball towards the
// goal is worth more than a long way round the ball).
constexpr double kGoalAim = 0.8;
constexpr double kAimPerMetre = 0.4;
constexpr double kFarAim = 4.0;
// The keeper stays this far in front of its goal's centre, within the posts.
constexpr double kKeeperOut = 1.0;
constexpr double kKeeperHalfWidth = 1.0;
// Formation: how far each player follows the ball, across and along.
constexpr double kFollowAcross = 0.3;
constexpr double kFollowAlong = 0.5;
// The keeper leaves its place for the ball only when it is this close.
constexpr double kKeeperReach = 2.0;

// Start positions (beam frame: own half at negative x) by uniform number,
// the same as the beams away from the own kick-off; index 0 for any other.
const double kStart[12][2] = {{-2.5, 0},  {-14.5, 0}, {-12.5, 0.5}, {-11, -2.5},
                              {-10, 2},   {-7.5, -1}, {-7, 4},      {-5, 0.5},
                              {-2, -2},   {-3, 1.5},  {-2.5, 3},    {-4, -1.5}};

double Clamp(double v, double lo, double hi) { return std::max(lo, std::min(hi, v)); }

Eigen::Vector2d Unit(const Eigen::Vector2d& v, const Eigen::Vector2d& fallback) {
  const double n = v.norm();
  return n > 1e-9 ? Eigen::Vector2d(v / n) : fallback;
}

Eigen::Vector2d Left(double heading) {
  const double a = heading * kDegToRad;
  return Eigen::Vector2d(-std::cos(a), -std::sin(a));
}

// Direction of v relative to the body's forward axis, degrees, + to the left.
double Bearing(const Eigen::Vector2d& v, double heading) {
  return std::atan2(v.dot(Left(heading)), v.dot(BallAction::Forward(heading))) / kDegToRad;
}

Eigen::Vector2d XY(const Eigen::Vector3d* v) {
  return v != nullptr ? Eigen::Vector2d(v->x(), v->y()) : Eigen::Vector2d::Zero();
}

}  // namespace

BallAction::BallAction(Hear* hear, Walking* walk, const TacticsInputs& in)
    : Action(hear), walk_(walk), in_(in) {}

Eigen::Vector2d BallAction::Forward(double heading) {
  const double a = heading * kDegToRad;
  return Eigen::Vector2d(std::sin(a), -std::cos(a));
}

Eigen::Vector2d BallAction::ApproachPoint(const Eigen::Vector2d& ball, const Eigen::Vector2d& own) {
  const Eigen::Vector2d back = Unit(ball - kOpponentGoal, Eigen::Vector2d(0.0, 1.0));
  const Eigen::Vector2d side(back.y(), -back.x());
  const Eigen::Vector2d from_ball = own - ball;
  if (from_ball.dot(back) >= kBehindBall / 2) return ball + kBehindBall * back;
  // Level with the ball or beyond it: round it on the robot's side.
  const double s = from_ball.dot(side) >= 0.0 ? 1.0 : -1.0;
  return ball + kRoundBack * back + kRoundSide * s * side;
}

Eigen::Vector2d BallAction::KeeperPoint(const Eigen::Vector2d& ball) {
  const Eigen::Vector2d p = kOwnGoal + kKeeperOut * Unit(ball - kOwnGoal, Eigen::Vector2d(0.0, -1.0));
  return Eigen::Vector2d(Clamp(p.x(), -kKeeperHalfWidth, kKeeperHalfWidth),
                         Clamp(p.y(), kOwnGoal.y() - kKeeperOut, kOwnGoal.y() - 0.3));
}

Eigen::Vector2d BallAction::FormationPoint(int id, const Eigen::Vector2d& ball) {
  const double* s = kStart[id >= 1 && id <= 11 ? id : 0];
  const Eigen::Vector2d start(-s[1], -s[0]);  // beam frame to field frame
  Eigen::Vector2d p(start.x() + kFollowAcross * (ball.x() - start.x()),
                    start.y() + kFollowAlong * (ball.y() - start.y()));
  const Eigen::Vector2d away = p - ball;
  if (away.norm() < kFormationClearance) {
    p = ball + kFormationClearance * Unit(away, Eigen::Vector2d(0.0, 1.0));
  }
  return Eigen::Vector2d(Clamp(p.x(), -9.5, 9.5), Clamp(p.y(), -14.5, 14.5));
}

BallAction::WalkCommand BallAction::GoTo(const Eigen::Vector2d& own, double heading,
                                         const Eigen::Vector2d& target, const Eigen::Vector2d& face) {
  WalkCommand c;
  const Eigen::Vector2d v = target - own;
  const double dist = v.norm();
  if (dist < kArrived) {
    c.curve = Clamp(Bearing(face - own, heading) / 30.0, -1.0, 1.0);
    return c;
  }
  const double a = Bearing(v, heading);
  c.curve = Clamp(a / 40.0, -1.0, 1.0);
  if (std::fabs(a) <= 50.0) c.speed = Clamp(dist / 1.5, 0.25, 1.0) * std::cos(a * kDegToRad);
  if (dist < 1.0) c.direction = Clamp(v.dot(Left(heading)) / 0.5, -1.0, 1.0);
  return c;
}

double BallAction::HorizontalDistance(const Ball& ball) {
  return std::cos(ball.v_abyss * kDegToRad) * ball.distance;
}

bool BallAction::BallInReach(const Ball& ball) {
  return ball.visible && HorizontalDistance(ball) <= kReach && std::fabs(ball.h_abyss) <= kReachAngle;
}

double BallAction::GoalTolerance(const Eigen::Vector2d& own) {
  const double d = (kOpponentGoal - own).norm();
  const double aim = Clamp(kAimPerMetre * d, kGoalAim, kFarAim);
  return Clamp(std::atan2(aim, d) / kDegToRad, kMinFacingGoal, kFacingGoal);
}

BallAction::WalkCommand BallAction::CloseIn(const Ball& ball, double goal, double tolerance) {
  WalkCommand c;
  const double reach = HorizontalDistance(ball);
  const double toward = ball.h_abyss;                                  // + left
  const double across = reach * std::sin(toward * kDegToRad);         // + left
  // How far the robot is off the line from the goal through the ball, as
  // the angle between the ball and the goal seen from the body.
  const double off_line = goal - toward;
  const bool in_reach = BallInReach(ball);
  if (std::fabs(off_line) > (in_reach ? tolerance : kOffLine)) {
    // Walk round the ball, facing it, to the side that brings the goal
    // behind it; the ball kept at kOrbit.
    c.curve = Clamp(toward / 30.0, -1.0, 1.0);
    c.direction = off_line > 0.0 ? -kOrbitStep : kOrbitStep;
    c.speed = Clamp((reach - kOrbit) / 0.3, -0.3, 0.3);
    return c;
  }
  // Lined up: bring the ball straight in front and step in until it is
  // within reach; stop there for the kick.
  c.curve = Clamp(toward / 30.0, -0.5, 0.5);
  c.direction = Clamp(across / 0.1, -1.0, 1.0);
  if (!in_reach) c.speed = Clamp((reach - 0.1) / 0.5, 0.15, 0.5);
  return c;
}

bool BallAction::IsBallPlayer(const Eigen::Vector2d& own, const Eigen::Vector2d& ball) const {
  const int elected = hear_ != nullptr ? hear_->GetNearBallFri() : 0;
  if (elected >= 1 && elected <= 11) return elected == in_.id;
  // Nobody elected yet: the nearest by what this player knows, its own
  // distance against the distances its teammates last reported.
  const double mine = (own - ball).norm();
  if (in_.id == 1 && mine > kKeeperReach) return false;
  if (hear_ == nullptr) return true;
  for (int k = 1; k <= 11; ++k) {
    if (k != in_.id && hear_->can_see_[k] && hear_->ball_dis[k] < mine) return false;
  }
  return true;
}

void BallAction::Act() {
  wants_kick_ = false;
  walk_target_.reset();
  const Eigen::Vector2d own = XY(in_.own);
  const Eigen::Vector2d ball = XY(in_.ball);
  const double heading = in_.rotation != nullptr ? in_.rotation->z() : 0.0;

  WalkCommand c;
  if (IsBallPlayer(own, ball)) {
    const Ball* seen = in_.sighting;
    if (seen != nullptr && seen->visible && HorizontalDistance(*seen) < kClose) {
      c = CloseIn(*seen, Bearing(kOpponentGoal - own, heading), GoalTolerance(own));
      wants_kick_ = c.speed == 0.0 && BallInReach(*seen);
    } else {
      walk_target_ = ApproachPoint(ball, own);
      c = GoTo(own, heading, *walk_target_, kOpponentGoal);
    }
  } else {
    walk_target_ = in_.id == 1 ? KeeperPoint(ball) : FormationPoint(in_.id, ball);
    c = GoTo(own, heading, *walk_target_, ball);
  }
  if (walk_ != nullptr) {
    walk_->SettingParam(c.speed, kDirectionSign * c.direction, kCurveSign * c.curve, false);
  }
}
