// Walking by inverse kinematics. The walking engine is not built yet: until
// then a walking robot commands no leg joint.
#include "agent/Agent.h"

void Agent::Walk() {}
