// The open-play kick and the kick-off shot. Not built yet: until then they
// command nothing and never report completion.
#include "agent/Agent.h"

void Agent::LumKick() {}

bool Agent::LumKickOffShootShinn(char) { return false; }
