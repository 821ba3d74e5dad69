#ifndef VEKTORLING_SIM_PUSHSCHEDULE_H
#define VEKTORLING_SIM_PUSHSCHEDULE_H

#include <random>
#include <vector>

// Pushes at random moments of a match: when (in game time, which runs only
// while play runs), which robot and which way, all drawn from one seed.
class PushSchedule {
public:
  // count pushes at uniformly random moments of playing_time seconds of
  // game time; none when that is not above 0.
  PushSchedule(unsigned seed, int count, double playing_time);

  // True once for each moment the game time has reached.
  bool Due(double game_time);
  // One of n candidates (n > 0).
  int PickRobot(int n);
  // Onto its back (true) or its front.
  bool PickOntoBack();

private:
  std::mt19937 rng_;
  std::vector<double> moments_;  // ascending
  size_t next_ = 0;
};

#endif
