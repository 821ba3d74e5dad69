#ifndef VEKTORLING_SIM_REFEREE_H
#define VEKTORLING_SIM_REFEREE_H

#include <random>
#include <string>

#include <Eigen/Dense>

// Play modes, score, game time, kick-off side and half time of one match,
// and where the rules let a beam put a player.
// Times are the server clock in seconds; the referee is told every step.
class Referee {
public:
  static constexpr double kGoalPause = 3.0;  // seconds of "Goal_X" before the kick-off

  // kickoff_after < 0: "BeforeKickOff" lasts until a trainer command;
  // duration < 0: endless (no half time either).
  Referee(double kickoff_after, double duration, double playon_after);

  // One step of dt seconds ending at the server clock now.
  void Step(double now, double dt);
  // A robot touched the ball.
  void BallTouched(double now);
  // A goal for the left ('L') or right ('R') team.
  void GoalScored(char scorer, double now);
  // Trainer: any play mode the game state prints; false for an unknown name.
  bool SetPlayMode(const std::string& mode, double now);
  // Trainer: kick-off for 'L' or 'R'.
  void KickOff(char side, double now);
  void Kill() { finished_ = true; }

  const std::string& PlayMode() const { return mode_; }
  double GameTime() const { return game_time_; }
  int ScoreLeft() const { return score_left_; }
  int ScoreRight() const { return score_right_; }
  // The side whose kick-off comes next (or is running).
  char KickOffSide() const { return kickoff_side_; }
  int Half() const { return half_; }
  // Game time of the whole match, both halves; < 0 when the match is endless.
  double PlayingTime() const;
  bool Finished() const { return finished_; }
  // Goals count only while the ball is in play.
  bool GoalsCount() const;
  // Robots may move the ball (not while the field is being set up).
  bool BallInPlay() const;
  // Beams are accepted.
  bool BeamAllowed() const;
  // Where a beam to (x, y, heading in degrees) in the own team's frame puts
  // a player of `side`, in the field's frame: with the server's noise drawn
  // from *noise (none when null), into the own half, outside the centre
  // circle for the team that does not kick off. False when beams are not
  // accepted now; nothing is drawn then.
  bool Beam(char side, const Eigen::Vector3d& asked, std::mt19937* noise, Eigen::Vector3d* placed) const;
  // True once after the referee put the ball back to the centre spot
  // (kick-off after a goal, half time); the world moves the ball.
  bool TakeBallReset();

  static bool KnownPlayMode(const std::string& mode);

private:
  void Enter(const std::string& mode, double now);

  double kickoff_after_, duration_, playon_after_;
  std::string mode_ = "BeforeKickOff";
  double mode_since_ = 0.0;
  double game_time_ = 0.0;
  int score_left_ = 0, score_right_ = 0;
  char kickoff_side_ = 'L';
  char first_half_kickoff_ = 'L';
  int half_ = 1;
  bool finished_ = false;
  bool ball_reset_ = false;
};

#endif
