#ifndef VEKTORLING_MESSAGE_HEARING_H
#define VEKTORLING_MESSAGE_HEARING_H

#include <string>

// One heard message as read from a "(hear ...)" expression.
class Hearing {
 public:
  Hearing();

  // Empties the strings and zeroes the numbers and the flag.
  void Init();

  const std::string& GetMessage() const { return msg_; }
  const std::string& GetTeamName() const { return team_; }
  double GetTime() const { return time_; }
  bool IsMyself() const { return myself_; }
  double GetDirection() const { return direction_; }
  const std::string& GetText() const { return text_; }

  std::string msg_;   // the whole heard expression
  std::string team_;  // sender's team when it is the own team, else empty
  double time_;       // time stamp of the message
  bool myself_;       // the robot's own message
  double direction_;  // direction it came from, degrees; 0 for the own one
  std::string text_;  // the message text
};

#endif  // VEKTORLING_MESSAGE_HEARING_H
