#ifndef VEKTORLING_AGENT_ME_KICK_I_KICK_H
#define VEKTORLING_AGENT_ME_KICK_I_KICK_H

namespace velk {

// Bookkeeping of the open-play kick: stage, counters, times, distances.
class I_Kick {
public:
  enum Stage {
    STANDBY = 0, SET = 1, LEFT1 = 2, LEFT2 = 3, LEFT3 = 4, LEFT4 = 5, LEFT5 = 6, FIRE_LEFT = 7,
    RIGHT1 = 8, RIGHT2 = 9, RIGHT3 = 10, RIGHT4 = 11, RIGHT5 = 12, FIRE_RIGHT = 13, COMPLETE = 14
  };

  I_Kick(double td, double ct)
      : NOT_TRY_(-99),
        TRY_DISTANCE_(td),
        ESCAPE_DISTANCE_(td + 0.045),
        COOL_TIME_(ct),
        full_power_(99999) {}

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
