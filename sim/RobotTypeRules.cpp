#include "RobotTypeRules.h"

#include <algorithm>

namespace {

std::string Counted(int n, const char* one, const char* many) {
  return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

}  // namespace

RobotTypeRules::RobotTypeRules(int per_type, int two_types, int min_types, int team_size)
    : per_type_(per_type), two_types_(two_types), min_types_(min_types), team_size_(team_size) {}

std::string RobotTypeRules::Refusal(const Counts& team, int type) const {
  if (type < 0 || type >= kTypes) return "robot type " + std::to_string(type) + " is not between 0 and 4";
  const std::string refused = "no more robots of type " + std::to_string(type) + " are allowed: ";
  if (team[type] + 1 > per_type_) {
    return refused + "a team has at most " + std::to_string(per_type_) + " robots of one type";
  }
  for (int other = 0; other < kTypes; ++other) {
    if (other == type || team[type] + 1 + team[other] <= two_types_) continue;
    const int first = std::min(type, other), second = std::max(type, other);
    return refused + "a team has at most " + std::to_string(two_types_) + " robots of any two types together (type " +
           std::to_string(first) + " has " + std::to_string(team[first]) + ", type " + std::to_string(second) +
           " has " + std::to_string(team[second]) + ")";
  }
  int robots = 0, used = 0;
  for (int n : team) {
    robots += n;
    used += n > 0;
  }
  const int places_left = team_size_ - robots, types_missing = min_types_ - used;
  if (team[type] > 0 && types_missing > 0 && places_left <= types_missing) {
    return "only a robot type the team does not use yet is accepted: a team of " + std::to_string(team_size_) +
           " needs at least " + std::to_string(min_types_) + " different types (" +
           Counted(places_left, "place", "places") + " left, " + Counted(types_missing, "type", "types") +
           " missing)";
  }
  return std::string();
}
