#ifndef VEKTORLING_AGENT_PROCESSSTATE_H
#define VEKTORLING_AGENT_PROCESSSTATE_H

// Counters the cycle keeps across messages for the life of the agent.
struct ProcessState {
  int beam_count = 0;    // cycles a beam could have been sent since the last reset
  double ws_time = 0.0;  // game time of the last goal (uniform number 11)
};

#endif
