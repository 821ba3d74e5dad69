#ifndef VEKTORLING_ACTION_TACTICS_H
#define VEKTORLING_ACTION_TACTICS_H

#include <string>

// The tactics a player can be started with: the default one walks straight
// ahead at full speed; "ball" plays the ball (BallAction).
enum class Tactics { kDefault, kBall };

// The tactics of a command-line name ("default" or "ball"); false, leaving
// *out alone, for any other name.
inline bool ParseTactics(const std::string& name, Tactics* out) {
  if (name == "default") {
    *out = Tactics::kDefault;
  } else if (name == "ball") {
    *out = Tactics::kBall;
  } else {
    return false;
  }
  return true;
}

#endif
