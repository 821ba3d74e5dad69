// Head control: keeping the ball in view and correcting the heading from
// landmark pairs. Not built yet: until then the head gets no command.
#include "agent/Agent.h"

bool Agent::ReVision() { return false; }

bool Agent::KeepSeeingBall() { return false; }
