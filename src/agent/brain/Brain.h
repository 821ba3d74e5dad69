#ifndef VEKTORLING_AGENT_BRAIN_BRAIN_H
#define VEKTORLING_AGENT_BRAIN_BRAIN_H

#include <string>

#include <Eigen/Core>

#include "agent/brain/PlayMode.h"

// The game state as this player perceives it, and the questions the rest of
// the agent asks about it. A play mode is "mine" when its side matches
// territory (kLeft <-> ..._Left/..._left, kRight <-> ..._Right/..._right);
// while the side is unknown (kNone) no play mode is mine.
class Brain {
 public:
  Brain();

  bool JudgeMyKickOffMode() const;
  // Whether the robot may move in the current play mode.
  bool JudgeMovingPlayMode() const;
  bool JudgeMyKickInMode() const;
  bool JudgeMyCornerKickMode() const;
  bool JudgeMyGoalKick() const;
  // A goal was just scored, by either team.
  bool JudgeGettingGoal() const;

  // Recomputes the directions to both goal centres from the own estimated
  // position that Follow gave (the origin while there is none).
  void Update();
  // The own position estimate (field frame, metres) that Update reads; it
  // must outlive this Brain.
  void Follow(const Eigen::Vector3d* own_position) { own_position_ = own_position; }
  // The same from the given own position (field frame, metres).
  void Update(double x, double y);

  void SetGameTime(double t) { game_time = t; }
  void SetPlayMode(PlayMode pm) { playmode = pm; }
  void SetPrevPlayMode(PlayMode pm) { prev_pm_ = pm; }
  void SetEnemyTeamName(const std::string& name) { ene_team = name; }
  void SetTerritory(Side side) { territory = side; }

  double GetGameTime() const { return game_time; }
  PlayMode GetPlayMode() const { return playmode; }
  PlayMode GetPrevPlayMode() const { return prev_pm_; }
  const std::string& GetEnemyTeamName() const { return ene_team; }
  Side GetTerritory() const { return territory; }
  double GetFriendCGoal() const { return fri_c_goal_; }
  double GetEnemyCGoal() const { return ene_c_goal_; }

  // Written by the agent cycle every message.
  double game_time;
  PlayMode playmode;
  // The play mode before the last change; kOther, like no server name, at first.
  PlayMode prev_pm_;
  // The latest play mode text as the server sent it, for the trace alone,
  // which writes it as received, also when it is no known name. Never compared.
  std::string playmode_text;
  std::string ene_team;
  Side territory;
  int f_score = 0;  // goals of the own team
  int e_score = 0;  // goals of the opponent
  double fri_c_goal_;  // direction to the own goal centre, degrees
  double ene_c_goal_;  // direction to the opponent goal centre, degrees

 private:
  const Eigen::Vector3d* own_position_ = nullptr;

  // True when territory is kLeft and playmode is left_mode, or territory is
  // kRight and playmode is right_mode.
  bool IsMine(PlayMode left_mode, PlayMode right_mode) const;
};

#endif  // VEKTORLING_AGENT_BRAIN_BRAIN_H
