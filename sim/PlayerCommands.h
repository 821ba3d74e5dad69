#ifndef VEKTORLING_SIM_PLAYERCOMMANDS_H
#define VEKTORLING_SIM_PLAYERCOMMANDS_H

#include <string>

#include "RobotBody.h"

// What the answers of one player ask for until they are carried out: joint
// speeds, a beam, a say text. "(syn)" and unknown commands are ignored, and
// so are commands whose values the server would refuse.
class PlayerCommands {
public:
  // Adds the commands of one answer (already checked to be well formed); a
  // later value for the same joint, beam or say replaces the earlier one.
  void Read(const std::string& text);
  void Clear();

  bool has_vel[RobotBody::kJointNum] = {};
  double vel[RobotBody::kJointNum] = {};  // rad/s
  bool beam = false;
  double beam_x = 0, beam_y = 0, beam_rot = 0;
  bool say = false;
  std::string say_text;
};

#endif
