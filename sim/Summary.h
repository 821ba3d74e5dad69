#ifndef VEKTORLING_SIM_SUMMARY_H
#define VEKTORLING_SIM_SUMMARY_H

#include <string>
#include <vector>

#include "World.h"

// The text printed at the end of a match: the final score with the team
// names, then one row per robot (team, side, number, distance walked, falls,
// stand-ups, ball touches) in aligned columns, left team first.
std::string FormatSummary(const WorldSnapshot& final_state, const std::vector<RobotStats>& stats);

#endif
