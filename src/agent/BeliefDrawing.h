#ifndef VEKTORLING_AGENT_BELIEFDRAWING_H
#define VEKTORLING_AGENT_BELIEFDRAWING_H

#include <cstdint>
#include <optional>

#include "agent/Beliefs.h"
#include "net/RoboVizCommands.h"

namespace draw {

// The byte RoboViz names a robot by: its uniform number - 1, plus 128 on
// the right side; nothing for a number outside 1 to 128.
std::optional<std::uint8_t> TeamAndNumber(Side side, int number);

// One cycle's drawings of what a player believes, replacing what *out held.
// Every set is named "vektorling.<team>.<number>." and its own part:
//   pose    its position (cyan circle) and heading (cyan line, 0.5 m);
//   ball    the ball (orange sphere of the ball's size, on the ground);
//   target  the ball tactics' walking target (magenta point, and a magenta
//           line from the player to it), when there is one;
//   mate    the teammate believed nearest to the ball (yellow circle), when
//           it knows one;
// then the text "<behaviour> <play mode>" over the robot (white) and, last,
// the swap of every set of the player. A shape with a number that is not
// finite is left out.
void DrawBeliefs(const Beliefs& beliefs, RoboVizCommands* out);

}  // namespace draw

#endif
