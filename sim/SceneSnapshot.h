#ifndef VEKTORLING_SIM_SCENE_SNAPSHOT_H
#define VEKTORLING_SIM_SCENE_SNAPSHOT_H

#include <array>
#include <string>
#include <vector>

#include <Eigen/Dense>

#include "RobotBody.h"

// Where a body part is and how it is turned: maps a point p of the part to
// R * p + t in the field.
struct ScenePose {
  Eigen::Matrix3d R = Eigen::Matrix3d::Identity();
  Eigen::Vector3d t = Eigen::Vector3d::Zero();

  bool operator==(const ScenePose& o) const { return t == o.t && R == o.R; }
};

// One robot as a viewer draws it: every body part's pose in the field.
struct SceneRobot {
  int id = 0;       // the world's id: stays the robot's while it is on the field
  int type = 0;     // robot type, 0 to 4
  char side = 'N';  // 'L', 'R', or 'N' while in no team
  int unum = 0;     // 0 while in no team
  std::array<ScenePose, RobotBody::kPartNum> parts;  // RobotBody::kParts order, server frame
};

// What the monitor stream shows of the match at one step. Filled in place
// (World::Scene) so that its buffers are reused from step to step.
struct SceneSnapshot {
  double game_time = 0;  // seconds, 0 before the kick-off
  int half = 1;
  int score_left = 0, score_right = 0;
  std::string play_mode;
  std::string team_left, team_right;  // empty until a team has a player
  Eigen::Vector3d ball = Eigen::Vector3d::Zero();
  std::vector<SceneRobot> robots;  // every robot on the field, by id
};

#endif
