#ifndef VEKTORLING_ACTION_BALLACTION_H
#define VEKTORLING_ACTION_BALLACTION_H

#include <Eigen/Core>

#include "action/Action.h"

class Ball;
class Brain;
class Walking;

// What the ball-playing tactics read of the cycle: all in the field frame
// (corner flags at x = +-10, y = +-15, the opponent's goal at y = -15, the
// own goal at y = +15). The pointers must outlive the tactics.
struct TacticsInputs {
  int id = 0;                                 // own uniform number
  const Eigen::Vector3d* own = nullptr;       // own position estimate, metres
  // Integrated body rotation, degrees; z is the heading: 0 faces the
  // opponent's goal, positive is turned to the right.
  const Eigen::Vector3d* rotation = nullptr;
  const Eigen::Vector3d* ball = nullptr;      // the ball's position estimate
  const Ball* sighting = nullptr;             // the ball's latest sighting
};

// Tactics that play the ball. The player chosen for the ball (elected by the
// team messages; without an election, the one nearest to the ball by what it
// knows) walks to a point behind the ball on the line from the opponent's
// goal through the ball, turns towards the goal and asks for the kick once
// the ball lies within reach in front of it. Number 1 keeps between the
// ball and the centre of its goal; the others hold formation places derived
// from their start positions, shifted towards the ball, keeping their
// distance from it.
class BallAction : public Action {
public:
  // The walking commands of one cycle, each -1 to 1.
  struct WalkCommand {
    double speed = 0.0;
    double direction = 0.0;  // sideways, + to the left
    double curve = 0.0;      // turning, + to the left
  };

  BallAction(Hear* hear, Walking* walk, const TacticsInputs& in);
  void Act() override;
  bool WantsKick() const override { return wants_kick_; }
  // None while the ball in sight steers (see CloseIn).
  std::optional<Eigen::Vector2d> WalkTarget() const override { return walk_target_; }

  // Heading (degrees) to the forward unit vector in the field frame.
  static Eigen::Vector2d Forward(double heading);
  // The point behind the ball, on the line from the opponent's goal
  // through the ball, from which a kick sends the ball towards the goal;
  // from in front of the ball the way leads round it.
  static Eigen::Vector2d ApproachPoint(const Eigen::Vector2d& ball, const Eigen::Vector2d& own);
  // The keeper's place: on the line from its goal's centre to the ball,
  // just in front of the goal.
  static Eigen::Vector2d KeeperPoint(const Eigen::Vector2d& ball);
  // A field player's place: its start position shifted towards the ball,
  // never closer to the ball than kFormationClearance.
  static Eigen::Vector2d FormationPoint(int id, const Eigen::Vector2d& ball);
  // Commands that walk from own (heading in degrees) to target, slowing
  // down on arrival; there the robot turns to face the point face.
  static WalkCommand GoTo(const Eigen::Vector2d& own, double heading, const Eigen::Vector2d& target,
                          const Eigen::Vector2d& face);
  // The seen ball's distance along the ground, metres.
  static double HorizontalDistance(const Ball& ball);
  // Whether the seen ball lies within the kick's reach in front of the body.
  static bool BallInReach(const Ball& ball);
  // Commands near a seen ball, goal being the opponent goal's direction
  // relative to the body (degrees, + left). Off the line from the goal
  // through the ball, the robot walks round the ball facing it; on the line
  // it brings the ball in front and steps in until the ball is within
  // reach, where it stands (speed 0) once it faces the goal within
  // tolerance degrees.
  static WalkCommand CloseIn(const Ball& ball, double goal, double tolerance);
  // How far (degrees) the body may face off the goal's centre for a kick
  // from own: the goal's half width as seen from there when near, a wider
  // band from afar, within limits.
  static double GoalTolerance(const Eigen::Vector2d& own);

  static constexpr double kFormationClearance = 2.0;  // metres

private:
  // Whether this player goes for the ball.
  bool IsBallPlayer(const Eigen::Vector2d& own, const Eigen::Vector2d& ball) const;

  Walking* walk_;
  TacticsInputs in_;
  bool wants_kick_ = false;
  std::optional<Eigen::Vector2d> walk_target_;
};

#endif
