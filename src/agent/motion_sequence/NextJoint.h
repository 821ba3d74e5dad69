#ifndef VEKTORLING_AGENT_MOTION_SEQUENCE_NEXTJOINT_H
#define VEKTORLING_AGENT_MOTION_SEQUENCE_NEXTJOINT_H

#include <map>
#include <string>

#include "tool/NameLess.h"
#include "tool/RecyclingAllocator.h"

// Joint speed commands of one cycle, by perceptor joint name. The table is
// filled and emptied every cycle; its nodes are recycled rather than taken
// from the heap each time.
typedef std::map<std::string, double, NameLess,
                 RecyclingAllocator<std::pair<const std::string, double>>>
    NextJoint;

#endif
