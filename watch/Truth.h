#ifndef VEKTORLING_WATCH_TRUTH_H
#define VEKTORLING_WATCH_TRUTH_H

#include <vector>

#include <Eigen/Dense>

#include "GameState.h"
#include "MonitorFrame.h"
#include "World.h"

// What the server's scene says about the match, in the practice field's
// snapshot form (so the same trace and picture code serve both).
//
// A robot is the body mesh "models/naobody<T>.obj"; its materials name its
// side (matLeft, matRight) and number (matNum<N>), and the transform two
// levels above the mesh is its torso. Robots without side or number (not
// yet, or never, placed in a team) are left out. The ball is the mesh
// "models/soccerball.obj" under its transform.
class Truth {
public:
  // Seconds between two frames while the game clock stands.
  static constexpr double kFramePeriod = 0.04;
  // A game clock step longer than this (a trainer's clock change) is not
  // taken as the time between two frames.
  static constexpr double kLongestClockStep = 1.0;
  // A ball that moved farther than this between two frames was placed: its
  // velocity is then 0.
  static constexpr double kBallJump = 1.0;
  // Fallen: the torso's up vector has a z below kFallenUp, or the torso is
  // lower than kFallenHeight.
  static constexpr double kFallenUp = 0.6;
  static constexpr double kFallenHeight = 0.25;

  // The state after one more frame; called once for every frame taken into
  // the scene. The time between this frame and the one before is what the
  // game clock advanced, or kFramePeriod while it stands (frames come every
  // 0.04 s or every 0.06 s of the server's time, depending on its pace).
  // `now` adds these up from 0 at the first frame; the ball's velocity is
  // its move divided by this time (0 at the first frame and after a jump).
  WorldSnapshot Next(const std::vector<SceneNode>& scene, const GameState& game);

private:
  bool started_ = false;
  double now_ = 0;
  double last_time_ = 0;
  bool had_ball_ = false;
  Eigen::Vector3d last_ball_ = Eigen::Vector3d::Zero();
};

// The robots with side and number, left side first, then by number.
std::vector<RobotSnapshot> FindRobots(const std::vector<SceneNode>& scene, const GameState& game);

// The ball's position; false when the scene has no ball.
bool FindBall(const std::vector<SceneNode>& scene, Eigen::Vector3d* position);

#endif
