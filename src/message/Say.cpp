#include "message/Say.h"

#include <cmath>

#include "coordinate/AbsoluteCoordinate.h"
#include "message/Hear.h"
#include "object/Ball.h"

namespace {

// The largest code two symbols hold ("kk") and the offset of coordinates.
const int kMaxCode = 440;
const double kCoordinateOffset = 25.0;
// Behaviour codes that say nothing about the ball: getting up (3) and 6.
const int kStandingUpCode = 3;
const int kCode6 = 6;
// The count at which everyone seeing the ball reports it.
const int kBallReportCount = 12;

// Decimetres, clamped to the two-symbol codes. Not a number: the far end.
int Decimetres(double metres) {
  const double code = std::trunc(metres * 10.0);
  if (!(code < kMaxCode)) return kMaxCode;
  if (code < 0.0) return 0;
  return static_cast<int>(code);
}

}  // namespace

std::string henkan(int v) {
  if (v >= 0 && v <= 9) return std::string(1, static_cast<char>('0' + v));
  if (v >= 10 && v <= 20) return std::string(1, static_cast<char>('a' + v - 10));
  return std::to_string(v);
}

std::string Say::Convert10to21ID(int v) { return henkan(v % 21); }

std::string Say::Convert10to21(int v) {
  const int q = v / 21;
  return henkan(q) + henkan(v - 21 * q);
}

std::string Say::CoordinateMsg(double c) { return Convert10to21(Decimetres(c + kCoordinateOffset)); }

std::string Say::DistanceMsg(double d) { return Convert10to21(Decimetres(d)); }

std::string Say::SetIDMsg(int id) const { return Convert10to21ID(id); }

std::string Say::SetBallDistanceMsg(double distance) const { return "D" + DistanceMsg(distance); }

void Say::Watch(const int* id, const AbsoluteCoordinate* own, const AbsoluteCoordinate* ball_abs,
                AbsoluteCoordinate* const* friend_abs, const Ball* ball) {
  id_ = id;
  own_ = own;
  ball_abs_ = ball_abs;
  friend_abs_ = friend_abs;
  ball_ = ball;
}

std::string Say::PositionMsg(const AbsoluteCoordinate* estimate) {
  if (estimate == nullptr) return CoordinateMsg(0.0) + CoordinateMsg(0.0);
  const Eigen::Vector3d& p = estimate->cod_;
  return CoordinateMsg(p.x()) + CoordinateMsg(p.y());
}

std::string Say::SetBallNearAbsMsg() const {
  int k = hear != nullptr ? hear->GetNearBallFri() : 0;
  if (k < 0 || k >= Hear::kSlots) k = 0;
  return PositionMsg(friend_abs_ != nullptr ? friend_abs_[k] : nullptr);
}

std::string Say::SetMyAbsMsg() const { return PositionMsg(own_); }

std::string Say::SetBehMsg(int code) const { return Convert10to21ID(code); }

std::string Say::SetBallAbsMsg() const { return PositionMsg(ball_abs_); }

const std::string& Say::SetSayingMsg(double ball_distance, int beh_code) {
  SaySchedule& s = schedule_;
  if (s.countsw) {
    s.countsw = false;
    ++s.count;
  } else {
    s.countsw = true;
  }

  // Every piece is short enough to live without the heap; the text grows in
  // a buffer kept from cycle to cycle.
  text_.clear();
  const int id = id_ != nullptr ? *id_ : 0;
  if (id == s.count) {
    text_ += SetIDMsg(id);
    text_ += SetBallDistanceMsg(ball_distance);
    text_ += SetBallNearAbsMsg();
    text_ += SetMyAbsMsg();
    text_ += SetBehMsg(beh_code);
    if (original_dialect_) text_ += SetBallAbsMsg();
    existing = true;
  } else {
    existing = false;
    if (s.count == kBallReportCount && ball_ != nullptr && ball_->visible && beh_code != kStandingUpCode &&
        beh_code != kCode6) {
      text_ = SetBallAbsMsg();
      existing = true;
    }
  }
  if (s.count > 11 && s.countsw) s.count = 0;
  if (!existing) text_.clear();
  return text_;
}
