#ifndef VEKTORLING_MESSAGE_SAY_H
#define VEKTORLING_MESSAGE_SAY_H

#include <string>

class AbsoluteCoordinate;
class Ball;
class Hear;

// One base-21 digit: 0-9, then "a" to "k" for 10 to 20; any other value as
// its decimal text.
std::string henkan(int v);

// Which player speaks in which call: the count advances on every second call
// and runs from 1 to 12 (12: everyone who sees the ball reports it).
struct SaySchedule {
  bool countsw = true;
  int count = 0;
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
  // Where the report's numbers come from: the own uniform number, the own
  // and the ball's position estimates, the teammates' estimates (12 slots
  // by uniform number) and the ball's sighting. They must outlive this
  // encoder. What is missing reads as number 0, positions at the origin and
  // an unseen ball.
  void Watch(const int* id, const AbsoluteCoordinate* own, const AbsoluteCoordinate* ball_abs,
             AbsoluteCoordinate* const* friend_abs, const Ball* ball);

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
  // The position of the estimate, the origin without one.
  static std::string PositionMsg(const AbsoluteCoordinate* estimate);

  bool original_dialect_ = false;
  SaySchedule schedule_;
  const int* id_ = nullptr;
  const AbsoluteCoordinate* own_ = nullptr;
  const AbsoluteCoordinate* ball_abs_ = nullptr;
  AbsoluteCoordinate* const* friend_abs_ = nullptr;
  const Ball* ball_ = nullptr;
  std::string text_;  // the text of the current cycle, its buffer reused
};

#endif
