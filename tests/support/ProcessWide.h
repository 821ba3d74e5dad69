#ifndef VEKTORLING_TESTS_SUPPORT_PROCESSWIDE_H
#define VEKTORLING_TESTS_SUPPORT_PROCESSWIDE_H

// The only place where tests reach the state the player keeps for the whole
// process: the blackboard, the vision flag of the current message, the
// counters and stage machines of the motions.

#include "agent/CommonInformation.h"
#include "agent/ProcessState.h"
#include "agent/Singleton.h"
#include "agent/kick/KickOffProgress.h"
#include "agent/kick/KickProgress.h"
#include "agent/kick/KickWorkingValues.h"
#include "agent/motion_sequence/StandUpSequence.h"
#include "message/Say.h"
#include "object/Object.h"

// Every test that runs the player starts from a fresh process state.
inline CommonInformation& ResetProcessWideState() {
  ProcessState::Reset();
  KickProgress::Reset();
  KickOffProgress::Reset();
  KickWorkingValues::Reset();
  StandUpSequence::ResetBuiltIn();
  Object::ResetVisionState();
  SaySchedule::Reset();
  return Singleton<CommonInformation>::Reset();
}

// The blackboard the agent and its parts share.
inline CommonInformation& Board() { return Singleton<CommonInformation>::Get(); }

// Whether the current message carried vision, as the parser leaves it.
inline void SetVision(bool seen) { Object::see = seen; }
// The parser's count of visible landmark readings in this message, and the game
// time of the vision before it.
inline int SightingsCounted() { return Object::vis_count; }
inline double PreviousVisionTime() { return Object::before_see_time; }

// The kick-off taker's script position.
inline const KickOffProgress& KickOffScript() { return KickOffProgress::Get(); }

#endif
