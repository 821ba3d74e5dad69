#ifndef VEKTORLING_SIM_PERCEPTOR_H
#define VEKTORLING_SIM_PERCEPTOR_H

#include <string>
#include <vector>

#include <Eigen/Dense>

#include "Roster.h"
#include "SimRobot.h"
#include "TextAppender.h"

// A say command carried out in the last step, heard in the next messages.
struct Spoken {
  int speaker;  // robot id
  std::string team;
  char side;
  Eigen::Vector3d at;  // the speaker's camera, where the sound comes from
  double game_time;
  std::string text;
};

// The text of the perceptor messages, piece by piece, in the real server's
// order and number format (two decimals, "-0.00" for small negatives as
// printf writes them).
class Perceptor {
public:
  // v as "%.2f" would print it, without going through printf (nan and
  // infinities as 0.00).
  static void AppendNumber(std::string& out, double v);
  static void AppendNumber(TextAppender& out, double v);

  // (time (now T))
  static void AppendTime(std::string& out, double now);
  // (GS [(unum N) (team left|right) ](sl L) (sr R) (t T) (pm MODE));
  // the number and side only when unum > 0.
  static void AppendGameState(std::string& out, int unum, char side, int score_left, int score_right,
                              double game_time, const std::string& play_mode);
  // (hear TEAM T self TEXT) or (hear TEAM T DIRECTION TEXT)
  static void AppendHear(std::string& out, const std::string& team, double game_time, bool self,
                         double direction, const std::string& text);
  // What a player hears of the texts said in the last step: its own as
  // "self", then of the others' at most one per team, the first said, from
  // the direction of the speaker. A robot outside the teams hears nothing.
  static void AppendHeard(std::string& out, const RosterEntry& listener, const std::vector<Spoken>& spoken);
  // (GYR (n torso) (rt x y z))(ACC (n torso) (a x y z))
  static void AppendInertial(std::string& out, const Eigen::Vector3d& gyro, const Eigen::Vector3d& acc);
  // (See ...): what the robot's camera shows, measured with its vision's
  // noise: the landmarks, the ball, then the players in `players` order
  // with the parts of each in view; of itself a player sees only its lower
  // arms, a robot outside the teams not even those.
  static void AppendSee(std::string& out, RosterEntry& viewer, const std::vector<RosterEntry*>& players,
                        const Eigen::Vector3d& ball);
  // The 22 joints (degrees, RobotBody::kJoints order in q) and the foot
  // sensors of feet on the ground, in the server's order: hj1, hj2, then
  // the vision text (may be empty), raj1-4, laj1-4, rlj1-5, FRP rf, rlj6,
  // llj1-5, FRP lf, llj6.
  static void AppendJointsAndVision(std::string& out, const double* q, const FootContact& left,
                                    const FootContact& right, const std::string& see);
};

#endif
