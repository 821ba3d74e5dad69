// libFuzzer target for the perceptor message parser: every input is taken
// as the text of one server message and run through every parse operation,
// in the order the agent cycle calls them. Build instructions: README.md.
#include <cstddef>
#include <cstdint>
#include <string>

#include "agent/CommonInformation.h"
#include "message/Message.h"
#include "object/Ball.h"
#include "object/Player.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One parser and one blackboard for the whole run, as in the player:
  // sightings, side and team names carry over from one message to the next.
  static Message m(1, "Alpha");
  static CommonInformation seen;
  static Player elsewhere;  // for the numbers beyond the slots
  m.SetMessage(std::string(reinterpret_cast<const char*>(data), size));

  for (const char* joint : {"hj1", "hj2", "laj1", "laj2", "laj3", "laj4", "raj1", "raj2", "raj3",
                            "raj4", "llj1", "llj2", "llj3", "llj4", "llj5", "llj6", "rlj1", "rlj2",
                            "rlj3", "rlj4", "rlj5", "rlj6"}) {
    m.ParseJoint(joint);
  }
  m.ParseGyro();
  m.ParseAcc();
  m.ParseFrp('L');
  m.ParseFrp('R');
  m.ParseFrp('x');
  m.ParseHearingMsg(0);
  m.ParseHearingMsg(1);
  m.ParseGameTime();
  m.ParsePlayMode();
  m.ParseScore('F');
  m.ParseScore('E');
  m.ParseTerritory();
  const std::string t0 = m.ParseTeamName(0);
  const std::string t1 = m.ParseTeamName(1);
  m.ParseLineCount();
  if (m.ParseSeeMsg()) {
    m.ParseBall(*seen.ball_);
    m.ParseFlags(seen.flag_);
    for (int id = 0; id <= 12; ++id) {
      const bool slot = id < CommonInformation::kPlayerSlots;
      m.ParsePlayer("Alpha", id, slot ? *seen.friend_[id] : elsewhere);
      m.ParsePlayer(t0, id, slot ? *seen.enemy_[id] : elsewhere);
      m.ParsePlayer(t1, id, slot ? *seen.enemy_[id] : elsewhere);
    }
  }
  return 0;
}
