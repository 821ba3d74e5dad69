// libFuzzer target for the team message decoder: every input is taken as
// the text of one server message (with its heard expressions) and as the
// text of one heard record, and run through both decoders and the election.
// Build instructions: README.md.
#include <cstddef>
#include <cstdint>
#include <string>

#include "agent/CommonInformation.h"
#include "message/Hear.h"
#include "message/OriginalHear.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One blackboard and one decoder of each kind for the whole run: reports
  // carry over from one message to the next, as in the player.
  static CommonInformation ci;
  static Hear hear;
  static OriginalHear original;
  static bool once = [] {
    hear.SetOwnTeam("Alpha");
    hear.Watch(&ci.br_);
    original.Watch(&ci.br_);
    ci.br_.territory = Side::kLeft;
    ci.br_.playmode = PlayMode::kPlayOn;
    return true;
  }();
  (void)once;
  const std::string text(reinterpret_cast<const char*>(data), size);
  hear.SetHearingMsg(text, 3, "");
  original.SetHearingMsg(text, 3, "Agent");
  original.SetHearingMsg(text, 3, "NEB-Q");
  return 0;
}
