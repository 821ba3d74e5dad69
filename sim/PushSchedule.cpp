#include "PushSchedule.h"

#include <algorithm>

PushSchedule::PushSchedule(unsigned seed, int count, double playing_time) : rng_(seed * 104729u + 31u) {
  if (count <= 0 || !(playing_time > 0.0)) return;
  std::uniform_real_distribution<double> moment(0.0, playing_time);
  moments_.resize(count);
  for (double& m : moments_) m = moment(rng_);
  std::sort(moments_.begin(), moments_.end());
}

bool PushSchedule::Due(double game_time) {
  if (next_ >= moments_.size() || game_time < moments_[next_]) return false;
  ++next_;
  return true;
}

int PushSchedule::PickRobot(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

bool PushSchedule::PickOntoBack() { return std::bernoulli_distribution(0.5)(rng_); }
