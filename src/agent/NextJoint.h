#ifndef VEKTORLING_AGENT_NEXTJOINT_H
#define VEKTORLING_AGENT_NEXTJOINT_H

#include <functional>
#include <map>
#include <string>

#include "tool/RecyclingAllocator.h"

// Joint speed commands of one cycle, by perceptor joint name. The table is
// filled and emptied every cycle; its nodes are recycled rather than taken
// from the heap each time.
typedef std::map<std::string, double, std::less<std::string>,
                 RecyclingAllocator<std::pair<const std::string, double>>>
    NextJoint;

#endif
