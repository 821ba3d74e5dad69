#ifndef VEKTORLING_AGENT_TEAMPLACEMENT_H
#define VEKTORLING_AGENT_TEAMPLACEMENT_H

#include <string>

#include "agent/brain/PlayMode.h"

// Watches the first messages after the init command for the game state that
// names the player's uniform number and side. The server names them once,
// early; a robot it did not place in a team (robot type limits, a full team,
// a third team) keeps receiving messages without them and would otherwise
// play on without ever knowing why.
class TeamPlacement {
public:
  // One simulated second of messages.
  static constexpr int kMessagesToWait = 50;

  // Looks at one message: the uniform number it names (0: none) and the side
  // it names (kNone: none). True exactly once: for the message that ends the
  // wait without the player having been placed.
  bool Observe(int unum, Side side);
  bool Placed() const { return number_ > 0 && side_seen_; }
  // The uniform number the server named; 0 until it has.
  int Number() const { return number_; }
  // Still waiting: neither placed nor past the first second.
  bool Watching() const { return !Placed() && messages_ < kMessagesToWait; }

  // The line for standard error when Observe returned true.
  static std::string Warning(int num, const std::string& team);

private:
  int messages_ = 0;
  int number_ = 0;
  bool side_seen_ = false;
};

#endif
