#ifndef VEKTORLING_SIM_ROSTER_H
#define VEKTORLING_SIM_ROSTER_H

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "PlayerCommands.h"
#include "RobotTypeRules.h"
#include "SimRobot.h"
#include "Vision.h"
#include "World.h"

// One robot on the field, from its scene command until it leaves.
struct RosterEntry {
  int id = 0;
  int type = 0;  // robot type of the scene, 0 to 4
  SimRobot body;
  bool registered = false;  // a player of a team
  bool outside = false;     // refused by the robot type rules: on the field, in no team
  std::string team;
  char side = 'N';
  int unum = 0;
  int messages = 0;         // messages sent to it so far
  int state_message = -1;   // the message that carries number and side
  PlayerCommands incoming;  // answered since the last step
  PlayerCommands due;       // carried out at the start of the next step
  Vision vision{0, false};  // its own noise, drawn in the order of its own messages
  int ball_touches = 0;
  bool touching = false;
};

// The robots on the field and the two teams: who plays on which side with
// which number, and what the robots that left did.
class Roster {
public:
  Roster(unsigned seed, bool noise);

  // A robot of this type (clamped to 0 to 4), hanging above the centre line
  // until its init command; returns its id.
  int Create(int type);
  // The init command; see World::InitRobot.
  World::InitResult Init(int id, const std::string& team, int unum, std::string* why, int* unum_given);
  // The robot leaves; a player's line stays for the summary.
  void Remove(int id);

  RosterEntry* Find(int id);
  // The player of that side ('L' or 'R') and number, or null.
  RosterEntry* Player(char side, int unum);
  // Players by side and number, then the robots in no team by id: every
  // step goes through the robots in this order, so a match does not depend
  // on the order in which its players connected.
  const std::vector<RosterEntry*>& Order() const { return order_; }
  // The name of the team on that side ('L' or 'R'); empty until it has had a player.
  const std::string& TeamName(char side) const { return team_name_[SideIndex(side)]; }
  // Every player that took part, those that left first.
  std::vector<RobotStats> Stats() const;

private:
  static int SideIndex(char side) { return side == 'L' ? 0 : 1; }
  int SideCount(char side) const;
  bool NumberTaken(char side, int unum) const;
  RobotTypeRules::Counts TypeCounts(char side) const;
  Vision VisionOf(char side, int unum, bool outside) const;
  void Reorder();

  unsigned seed_;
  bool noise_;
  std::map<int, std::unique_ptr<RosterEntry>> robots_;
  std::vector<RosterEntry*> order_;
  std::vector<RobotStats> archived_;
  std::string team_name_[2];       // left, right
  std::set<int> kept_numbers_[2];  // per side: numbers of robots the type rules refused
  RobotTypeRules type_rules_;
  int next_id_ = 1;
};

#endif
