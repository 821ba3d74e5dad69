#ifndef VEKTORLING_SIM_MONITOR_STREAM_H
#define VEKTORLING_SIM_MONITOR_STREAM_H

#include <array>
#include <string>
#include <vector>

#include "SceneSnapshot.h"

// The text of the monitor stream, as the simulation server writes it on its
// monitor port: "(<game values>)(RSG 0 1)(<scene>)" for a full state and
// "(<game values>)(RDS 0 1)(<scene>)" for a diff, which repeats the scene's
// shape node for node with only the transforms that changed since the
// frame before.
//
// The scene is the server's: lights, field, sky, goals and walls as it sends
// them, the ball, and for each robot a node under which every body part has
// its transform (in the field) and its mesh: the body mesh
// "models/naobody<T>.obj" two levels below the torso's transform, with the
// materials matLeft or matRight, matNum<N> and matType<T> (matTeam and
// matNum while the robot is in no team). Positions are written to 0.1 mm as
// the field's trace writes them, the rotations to six decimals, the game values as the server does.
class MonitorStream {
public:
  // The play modes as the frames number them (the server's list).
  static const std::vector<const char*>& PlayModes();

  // A full state of the scene into *frame (its text replaced). Leaves the
  // base of the next diff alone, so that it can be made for one watcher
  // while the others go on with diffs.
  void Full(const SceneSnapshot& scene, std::string* frame) const;
  // The next frame for the watchers that follow the stream: a diff against
  // the last frame Next made, or a full state when there was none or the
  // robots changed since (one joined or left, got a team or a number).
  // Returns true for a full state.
  bool Next(const SceneSnapshot& scene, std::string* frame);

private:
  // What the last frame of Next said, to tell what changed.
  struct Shown {
    int id, type;
    char side;
    int unum;
    std::array<ScenePose, RobotBody::kPartNum> parts;
  };
  bool SameRobots(const SceneSnapshot& scene) const;
  void Diff(const SceneSnapshot& scene, std::string* frame) const;
  void Remember(const SceneSnapshot& scene);

  bool shown_any_ = false;
  int half_ = 0, score_left_ = 0, score_right_ = 0, play_mode_ = 0;
  std::string team_left_, team_right_;
  Eigen::Vector3d ball_ = Eigen::Vector3d::Zero();
  std::vector<Shown> robots_;
};

#endif
