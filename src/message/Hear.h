#ifndef VEKTORLING_MESSAGE_HEAR_H
#define VEKTORLING_MESSAGE_HEAR_H

#include <string>

// Decoder of the team messages heard from teammates. Decoding comes with
// team communication; until then a heard message changes nothing.
class Hear {
public:
  Hear() = default;
  virtual ~Hear() = default;
  virtual void SetHearingMsg(const std::string& message, int id, const std::string& team);
};

#endif
