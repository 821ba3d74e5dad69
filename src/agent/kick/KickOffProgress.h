#ifndef VEKTORLING_AGENT_KICK_KICKOFFPROGRESS_H
#define VEKTORLING_AGENT_KICK_KICKOFFPROGRESS_H

// Where the kick-off script stands, kept for the life of the agent.
struct KickOffProgress {
  int stage = 0;  // 0 .. 7, 7 being the strike
  int t = 0;      // cycles spent in the stage
};

#endif
