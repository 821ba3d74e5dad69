#ifndef VEKTORLING_SIM_ROBOT_TYPE_RULES_H
#define VEKTORLING_SIM_ROBOT_TYPE_RULES_H

#include <array>
#include <string>

// The real server's limits on the robot types of one team: at most
// `per_type` robots of one type, at most `two_types` robots of any two types
// together, and at least `min_types` different types in a full team of
// `team_size`, so that once the places left are no more than the types
// missing, only a type the team does not use yet is accepted.
class RobotTypeRules {
public:
  static constexpr int kTypes = 5;  // nao_hetero.rsg 0 to 4
  using Counts = std::array<int, kTypes>;

  explicit RobotTypeRules(int per_type = 7, int two_types = 9, int min_types = 3, int team_size = 11);

  // Empty when a team whose registered robots have these types may take one
  // more of `type`; otherwise one line naming the rule that refuses it.
  std::string Refusal(const Counts& team, int type) const;

private:
  int per_type_, two_types_, min_types_, team_size_;
};

#endif
