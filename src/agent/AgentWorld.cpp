// World update: directions, relative positions and field estimates of what
// the robot sees. The estimators come with localisation; until then these
// steps leave the world model as it is.
#include "agent/Agent.h"

void Agent::UpdateObjects() {}

void Agent::UpdateCoordinate() {}
