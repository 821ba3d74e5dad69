#ifndef VEKTORLING_AGENT_BRAIN_PLAYMODE_H
#define VEKTORLING_AGENT_BRAIN_PLAYMODE_H

#include <string_view>

// The play modes of the game state, one per name that rcssserver3d 0.7.3
// sends after "(pm ", and kOther for any other text (the server's own
// "unknown", the parser's "Unknown" when the message has none, anything
// else). Names are compared exactly, letter case included.
enum class PlayMode {
  kBeforeKickOff,
  kKickOffLeft,
  kKickOffRight,
  kPlayOn,
  kKickInLeft,
  kKickInRight,
  kCornerKickLeft,
  kCornerKickRight,
  kGoalKickLeft,
  kGoalKickRight,
  kOffsideLeft,
  kOffsideRight,
  kGameOver,
  kGoalLeft,
  kGoalRight,
  kFreeKickLeft,
  kFreeKickRight,
  kDirectFreeKickLeft,
  kDirectFreeKickRight,
  kPassLeft,
  kPassRight,
  kOther,
};

// The team this player plays in, as the server names it; kNone until known.
enum class Side { kNone, kLeft, kRight };

struct PlayModeEntry {
  PlayMode mode;
  const char* name;
};

// Every play mode but kOther with its name, in the order of the enum.
inline constexpr PlayModeEntry kPlayModeNames[] = {
    {PlayMode::kBeforeKickOff, "BeforeKickOff"},
    {PlayMode::kKickOffLeft, "KickOff_Left"},
    {PlayMode::kKickOffRight, "KickOff_Right"},
    {PlayMode::kPlayOn, "PlayOn"},
    {PlayMode::kKickInLeft, "KickIn_Left"},
    {PlayMode::kKickInRight, "KickIn_Right"},
    {PlayMode::kCornerKickLeft, "corner_kick_left"},
    {PlayMode::kCornerKickRight, "corner_kick_right"},
    {PlayMode::kGoalKickLeft, "goal_kick_left"},
    {PlayMode::kGoalKickRight, "goal_kick_right"},
    {PlayMode::kOffsideLeft, "offside_left"},
    {PlayMode::kOffsideRight, "offside_right"},
    {PlayMode::kGameOver, "GameOver"},
    {PlayMode::kGoalLeft, "Goal_Left"},
    {PlayMode::kGoalRight, "Goal_Right"},
    {PlayMode::kFreeKickLeft, "free_kick_left"},
    {PlayMode::kFreeKickRight, "free_kick_right"},
    {PlayMode::kDirectFreeKickLeft, "direct_free_kick_left"},
    {PlayMode::kDirectFreeKickRight, "direct_free_kick_right"},
    {PlayMode::kPassLeft, "pass_left"},
    {PlayMode::kPassRight, "pass_right"},
};

// The play mode of exactly this name; kOther when no name matches.
inline PlayMode PlayModeFromName(std::string_view name) {
  for (const PlayModeEntry& e : kPlayModeNames) {
    if (name == e.name) return e.mode;
  }
  return PlayMode::kOther;
}

// The name the server sends for the mode; "" for kOther, which has none.
inline const char* PlayModeName(PlayMode mode) {
  for (const PlayModeEntry& e : kPlayModeNames) {
    if (e.mode == mode) return e.name;
  }
  return "";
}

// 'L', 'R', or 'N' for kNone: the letter the trace writes.
inline char SideLetter(Side side) {
  return side == Side::kLeft ? 'L' : side == Side::kRight ? 'R' : 'N';
}

#endif  // VEKTORLING_AGENT_BRAIN_PLAYMODE_H
