#include "agent/TeamPlacement.h"

bool TeamPlacement::Observe(int unum, Side side) {
  if (!Watching()) return false;
  if (unum > 0) number_ = unum;
  side_seen_ = side_seen_ || side != Side::kNone;
  return ++messages_ == kMessagesToWait && !Placed();
}

std::string TeamPlacement::Warning(int num, const std::string& team) {
  const std::string who = num > 0 ? "number " + std::to_string(num) : "any free number";
  return "the server has not placed this player (" + who + ", team " + team +
         ") in a team: none of the first " + std::to_string(kMessagesToWait) +
         " messages after init (one simulated second) named its uniform number and side. "
         "Likely causes: the team's robot type limits (at most 7 robots of one type, at most 9 of "
         "any two types together, at least 3 types in a team of 11: start it with another --type), "
         "a full team or a uniform number already taken, or a wrong team name (two other teams "
         "already play). Playing on without a team.";
}
