#ifndef VEKTORLING_AGENT_KICK_KICKPROGRESS_H
#define VEKTORLING_AGENT_KICK_KICKPROGRESS_H

// Where the scripted kick stands, kept for the life of the agent.
struct KickProgress {
  int k_st = 0;      // stage of the kick script
  int pre_k_st = 0;  // stage of the previous cycle
  int step_c = 0;    // cycles spent in the stage
};

#endif
