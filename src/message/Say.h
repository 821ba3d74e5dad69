#ifndef VEKTORLING_MESSAGE_SAY_H
#define VEKTORLING_MESSAGE_SAY_H

#include <string>

class Hear;

// One base-21 digit: 0-9, then "a" to "k" for 10 to 20; any other value as
// its decimal text.
std::string henkan(int v);

// Which player speaks in which call: the count advances on every second call
// and runs from 1 to 12 (12: everyone who sees the ball reports it). Shared
// by the whole process; tests start from Reset().
struct SaySchedule {
  bool countsw = true;
  int count = 0;

  static SaySchedule& Get() {
    static SaySchedule schedule;
    return schedule;
  }
  static void Reset() { Get() = SaySchedule(); }
};

// Encoder of the team message this player says: who speaks, the ball's
// distance, the teammate nearest to the ball, the speaker's position, its
// behaviour and (in the "0.6.8" dialect) the ball's position, in base 21,
// two symbols per number. Every field keeps its width, so every text is a
// valid say message (at most 20 printable characters, no space or
// parenthesis).
class Say {
public:
  explicit Say(Hear* hear) : existing(false), hear(hear) {}

  // The "0.6.8" dialect adds the ball's position to the full report.
  void SetOriginalDialect(bool on) { original_dialect_ = on; }

  // The text of this cycle, empty when it is not this player's turn; valid
  // until the next call.
  const std::string& SetSayingMsg(double ball_distance, int beh_code);

  std::string SetIDMsg(int id) const;
  std::string SetBallDistanceMsg(double distance) const;
  std::string SetBallNearAbsMsg() const;
  std::string SetMyAbsMsg() const;
  std::string SetBehMsg(int code) const;
  std::string SetBallAbsMsg() const;
  bool CheckMsgExisting() const { return existing; }

  static std::string Convert10to21ID(int v);
  static std::string Convert10to21(int v);
  // A coordinate (metres) as 2 symbols: decimetres from -25 m, clamped to
  // the codes 0 to 440 ("00" to "kk").
  static std::string CoordinateMsg(double c);
  // A distance (metres) as 2 symbols, in decimetres, clamped likewise.
  static std::string DistanceMsg(double d);

  bool existing;
  Hear* hear;

private:
  bool original_dialect_ = false;
  std::string text_;  // the text of the current cycle, its buffer reused
};

#endif
