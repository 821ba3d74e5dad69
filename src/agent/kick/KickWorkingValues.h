#ifndef VEKTORLING_AGENT_KICK_KICKWORKINGVALUES_H
#define VEKTORLING_AGENT_KICK_KICKWORKINGVALUES_H

// Working values of the open-play kick, one set for the life of the agent;
// each kick sets them afresh when it starts.
struct KickWorkingValues {
  double f = -99.0;        // lateral offset of the ball at the start (metres; -99: none)
  double gravity = 0.0;    // roll of the weight shift, degrees
  double movement = 20.0;  // crouch depth, degrees of hip pitch
};

#endif
