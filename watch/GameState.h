#ifndef VEKTORLING_WATCH_GAME_STATE_H
#define VEKTORLING_WATCH_GAME_STATE_H

#include <string>
#include <vector>

#include "MonitorFrame.h"

// The game values as the frames so far have set them.
struct GameState {
  double time = 0;  // game time, seconds
  int half = 1;
  int score_left = 0, score_right = 0;
  int play_mode = -1;  // index into play_modes; -1 before any frame named one
  std::string team_left, team_right;
  std::vector<std::string> play_modes;
};

// The state after a frame's values: those it carries replace the old ones.
GameState ApplyGameValues(GameState state, const GameValues& values);

// The name of the current play mode; the index as a number when the list of
// names has no such entry, empty before any frame named one.
std::string PlayModeName(const GameState& state);

#endif
