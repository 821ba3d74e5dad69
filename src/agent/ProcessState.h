#ifndef VEKTORLING_AGENT_PROCESSSTATE_H
#define VEKTORLING_AGENT_PROCESSSTATE_H

#include <Eigen/Dense>

// Values the cycle keeps across messages for the life of the agent:
// counters and the previous samples of the integrators.
struct ProcessState {
  int beam_count = 0;          // cycles a beam could have been sent since the last reset
  double ws_time = 0.0;        // game time of the last goal (uniform number 11)
  Eigen::Vector3d bef_gyro = Eigen::Vector3d::Zero();  // previous gyro rate
  double time_span = 0.0;      // game time of the previous gyro integration
  double bef_time = 0.0;       // game time of the previous momentum sum
};

#endif
