#ifndef VEKTORLING_AGENT_BELIEFS_H
#define VEKTORLING_AGENT_BELIEFS_H

#include <optional>
#include <string_view>

#include <Eigen/Core>

#include "agent/brain/PlayMode.h"

namespace draw {

// What a player believes in one cycle, as far as it is drawn. Positions are
// in the server's field frame (metres; the left team's goal at x = -15, z
// up), whichever side the player plays on. The texts belong to the player
// and stay valid until its next cycle.
struct Beliefs {
  std::string_view team;
  int number = 0;            // uniform number; 0 while unknown
  Side side = Side::kNone;   // kNone draws as the left side
  Eigen::Vector2d position = Eigen::Vector2d::Zero();  // own position estimate
  Eigen::Vector2d heading = Eigen::Vector2d::UnitX();  // unit vector the body faces
  Eigen::Vector2d ball = Eigen::Vector2d::Zero();      // the ball's position estimate
  // Where the ball tactics walk to; none with other tactics, before the
  // kick-off and while the ball in sight steers.
  std::optional<Eigen::Vector2d> target;
  // The teammate believed nearest to the ball (possibly the player itself),
  // where it was last heard of; none while it knows of none.
  std::optional<Eigen::Vector2d> mate;
  std::string_view behavior;   // as the trace names it ("WALK", ...)
  std::string_view play_mode;  // as the server named it
};

}  // namespace draw

#endif
