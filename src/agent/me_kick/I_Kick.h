#ifndef VEKTORLING_AGENT_ME_KICK_I_KICK_H
#define VEKTORLING_AGENT_ME_KICK_I_KICK_H

#include <Eigen/Dense>

class Ball;

namespace velk {

// Bookkeeping of the open-play kick: stage, counters, times, distances.
class I_Kick {
public:
  enum Stage {
    STANDBY = 0, SET = 1, LEFT1 = 2, LEFT2 = 3, LEFT3 = 4, LEFT4 = 5, LEFT5 = 6, FIRE_LEFT = 7,
    RIGHT1 = 8, RIGHT2 = 9, RIGHT3 = 10, RIGHT4 = 11, RIGHT5 = 12, FIRE_RIGHT = 13, COMPLETE = 14
  };

  // td: distance at which a kick is tried (metres); ct: cool time after a
  // kick (seconds); power: proportion of the strike's radian commands;
  // margin: how much further than td the ball has escaped (metres).
  I_Kick(double td, double ct, double power, double margin)
      : NOT_TRY_(-99),
        TRY_DISTANCE_(td),
        ESCAPE_DISTANCE_(td + margin),
        COOL_TIME_(ct),
        full_power_(power) {}

  // Lateral offset of the ball (positive to the left) from its sighting
  // and the head's pan and tilt (degrees); NOT_TRY_ when it is not visible.
  double ChooseLeg(const Ball& ball, const Eigen::Vector2d& neck) const;

  Stage GetStage() const { return st_; }
  int GetCount() const { return count_; }
  bool IsDuring() const { return during_; }
  bool IsComplete() const { return complete_; }
  double GetLastCompTime() const { return last_comp_time_; }
  double GetMistakeTime() const { return mistake_time_; }
  void SetStage(Stage s) { st_ = s; }
  void SetCount(int c) { count_ = c; }
  void SetDuring(bool d) { during_ = d; }
  void SetComplete(bool c) { complete_ = c; }
  void SetLastCompTime(double t) { last_comp_time_ = t; }
  void SetMistakeTime(double t) { mistake_time_ = t; }

  // Back to the start of a kick, forgetting any earlier miss.
  void Reset() {
    st_ = STANDBY;
    count_ = 0;
    during_ = false;
    complete_ = false;
    mistake_time_ = 0.0;
  }

  const double NOT_TRY_;
  const double TRY_DISTANCE_;
  const double ESCAPE_DISTANCE_;
  const double COOL_TIME_;
  Stage st_ = STANDBY;
  int count_ = 0;
  bool during_ = false;
  bool complete_ = false;
  const double full_power_;
  double last_comp_time_ = 0.0;
  double mistake_time_ = 0.0;
};

}  // namespace velk

#endif
