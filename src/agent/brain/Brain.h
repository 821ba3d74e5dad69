#ifndef VEKTORLING_AGENT_BRAIN_BRAIN_H
#define VEKTORLING_AGENT_BRAIN_BRAIN_H

#include <string>

#include <Eigen/Core>

// The game state as this player perceives it, and the questions the rest of
// the agent asks about it. A play mode is "mine" when its side suffix
// matches territory ('L' <-> Left/left, 'R' <-> Right/right); while the side
// is unknown ('N') no play mode is mine. Names are compared exactly,
// letter case included, as the server sends them.
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
  void SetPlayMode(const std::string& pm) { playmode = pm; }
  void SetPrevPlayMode(const std::string& pm) { prev_pm_ = pm; }
  void SetEnemyTeamName(const std::string& name) { ene_team = name; }
  void SetTerritory(char side) { territory = side; }

  double GetGameTime() const { return game_time; }
  const std::string& GetPlayMode() const { return playmode; }
  const std::string& GetPrevPlayMode() const { return prev_pm_; }
  const std::string& GetEnemyTeamName() const { return ene_team; }
  char GetTerritory() const { return territory; }
  double GetFriendCGoal() const { return fri_c_goal_; }
  double GetEnemyCGoal() const { return ene_c_goal_; }

  // Written by the agent cycle every message.
  double game_time;
  std::string playmode;
  std::string prev_pm_;
  std::string ene_team;
  char territory;
  double fri_c_goal_;  // direction to the own goal centre, degrees
  double ene_c_goal_;  // direction to the opponent goal centre, degrees

 private:
  const Eigen::Vector3d* own_position_ = nullptr;

  // True when territory is 'L' and playmode equals left_mode, or territory
  // is 'R' and playmode equals right_mode.
  bool IsMine(const char* left_mode, const char* right_mode) const;
};

#endif  // VEKTORLING_AGENT_BRAIN_BRAIN_H
