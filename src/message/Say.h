#ifndef VEKTORLING_MESSAGE_SAY_H
#define VEKTORLING_MESSAGE_SAY_H

#include <string>

class Hear;

// Encoder of the team message this player says. Encoding comes with team
// communication; until then nothing is said (`existing` stays false).
class Say {
public:
  explicit Say(Hear* hear) : existing(false), hear(hear) {}

  std::string SetSayingMsg(double ball_distance, int beh_code);

  bool existing;
  Hear* hear;
};

#endif
