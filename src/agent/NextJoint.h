#ifndef VEKTORLING_AGENT_NEXTJOINT_H
#define VEKTORLING_AGENT_NEXTJOINT_H

#include <map>
#include <string>

// Joint speed commands of one cycle, by perceptor joint name.
typedef std::map<std::string, double> NextJoint;

#endif
