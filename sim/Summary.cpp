#include "Summary.h"

#include <algorithm>
#include <cstdio>

namespace {

// The name of the team playing on `side`, from the statistics or, for a team
// without statistics, from the robots on the field.
std::string TeamOnSide(char side, const WorldSnapshot& state, const std::vector<RobotStats>& stats) {
  for (const RobotStats& s : stats) {
    if (s.side == side && !s.team.empty()) return s.team;
  }
  for (const RobotSnapshot& r : state.robots) {
    if (r.side == side && !r.team.empty()) return r.team;
  }
  return "(no team)";
}

int SideOrder(char side) { return side == 'L' ? 0 : side == 'R' ? 1 : 2; }

}  // namespace

std::string FormatSummary(const WorldSnapshot& final_state, const std::vector<RobotStats>& stats) {
  std::string out;
  char line[256];
  std::snprintf(line, sizeof line, " %d : %d ", final_state.score_left, final_state.score_right);
  out += "Final score: " + TeamOnSide('L', final_state, stats) + line + TeamOnSide('R', final_state, stats);
  std::snprintf(line, sizeof line, "  (game time %.2f s, %.2f s simulated)\n", final_state.game_time,
                final_state.now);
  out += line;
  if (stats.empty()) {
    out += "No robot took part.\n";
    return out;
  }

  std::vector<const RobotStats*> rows;
  for (const RobotStats& s : stats) rows.push_back(&s);
  std::stable_sort(rows.begin(), rows.end(), [](const RobotStats* a, const RobotStats* b) {
    if (SideOrder(a->side) != SideOrder(b->side)) return SideOrder(a->side) < SideOrder(b->side);
    if (a->team != b->team) return a->team < b->team;
    return a->unum < b->unum;
  });

  int team_width = 4;
  for (const RobotStats* s : rows) team_width = std::max(team_width, static_cast<int>(s->team.size()));

  std::snprintf(line, sizeof line, "%-*s  side  number  walked (m)  falls  stand-ups  ball touches\n", team_width,
                "team");
  out += line;
  for (const RobotStats* s : rows) {
    out += s->team;
    out.append(team_width - s->team.size(), ' ');
    std::snprintf(line, sizeof line, "  %-4c  %6d  %10.2f  %5d  %9d  %12d\n", s->side == 0 ? '?' : s->side, s->unum,
                  s->distance_walked, s->falls, s->standups, s->ball_touches);
    out += line;
  }
  return out;
}
