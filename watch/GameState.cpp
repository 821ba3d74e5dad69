#include "GameState.h"

GameState ApplyGameValues(GameState state, const GameValues& values) {
  if (values.time) state.time = *values.time;
  if (values.half) state.half = *values.half;
  if (values.score_left) state.score_left = *values.score_left;
  if (values.score_right) state.score_right = *values.score_right;
  if (values.play_mode) state.play_mode = *values.play_mode;
  if (values.team_left) state.team_left = *values.team_left;
  if (values.team_right) state.team_right = *values.team_right;
  if (values.play_modes) state.play_modes = *values.play_modes;
  return state;
}

std::string PlayModeName(const GameState& state) {
  if (state.play_mode < 0) return std::string();
  if (static_cast<std::size_t>(state.play_mode) < state.play_modes.size()) return state.play_modes[state.play_mode];
  return std::to_string(state.play_mode);
}
