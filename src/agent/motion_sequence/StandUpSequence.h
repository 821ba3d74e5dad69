#ifndef VEKTORLING_AGENT_MOTION_SEQUENCE_STANDUPSEQUENCE_H
#define VEKTORLING_AGENT_MOTION_SEQUENCE_STANDUPSEQUENCE_H

#include "agent/motion_sequence/MotionSequence.h"

// The keyframe motion that gets a robot up from its back: arms thrown back
// over the head, legs spread and pulled in, the body settled over the feet,
// the feet closed. 58 cycles.
class StandUpSequence : public MotionSequence {
 public:
  StandUpSequence();

  // The document it is read from.
  static const char* const kDocument;
};

#endif  // VEKTORLING_AGENT_MOTION_SEQUENCE_STANDUPSEQUENCE_H
