#ifndef VEKTORLING_MESSAGE_MESSAGE_H
#define VEKTORLING_MESSAGE_MESSAGE_H

#include <string>
#include <vector>

#include <Eigen/Core>

#include "agent/brain/PlayMode.h"
#include "message/ForceResistance.h"
#include "message/Hearing.h"
#include "object/Ball.h"
#include "object/Object.h"
#include "object/Player.h"
#include "object/VisionState.h"

// Holds the latest perceptor message of the server and reads each perceptor
// out of it on demand. Every value is found by searching the raw text for a
// fixed keyword and cutting the numbers out behind it; nothing here is a
// general S-expression reader. The text comes from the network and is not
// trusted: every operation stays inside it and falls back to its documented
// default when the data is missing or cut off.
class Message {
 public:
  // Stores the registration command "(init (unum ID)(teamname TEAM))" as the
  // text, to be sent before the first server message replaces it.
  Message(int id, const std::string& team);

  void SetMessage(const std::string& text);
  Message& operator=(const std::string& text);
  Message& operator+=(const std::string& text);
  const std::string& GetMessage() const { return msg; }

  double ParseJoint(const std::string& name);
  double ParseGameTime();  // -1 when absent
  const std::string& ParsePlayMode();  // the text as sent; "Unknown" when absent
  Side ParseTerritory();  // remembered once seen; kNone before
  int ParseUniformNumber();  // the number of "(unum N)", 0 when absent
  int ParseScore(char which);  // 'F'/'f' left score, else right; -1 when absent
  Eigen::Vector3d& ParseGyro();
  Eigen::Vector3d& ParseAcc();
  ForceResistance ParseFrp(char side);
  // Sets the vision state below from the current text.
  bool ParseSeeMsg();
  // The sightings are written into the objects handed in, which keep them
  // from message to message: what a message does not show, or shows
  // damaged, leaves the rest of the stored sighting as it was.
  // The ball; when the message shows none, only its visibility changes.
  void ParseBall(Ball& ball);
  // The eight landmarks, landmark i (Object::kFlagNames) into *flags[i].
  void ParseFlags(Object* const* flags);
  std::string ParseTeamName(int n);
  // Player `id` of `team` into the five parts of `player`; an id outside
  // 0 to 11 is never seen.
  void ParsePlayer(const std::string& team, int id, Player& player);
  int ParseLineCount();
  // The record stays valid until the next call.
  const Hearing& ParseHearingMsg(int n);

  static constexpr int kPlayerSlots = 12;

 private:
  std::string msg;

 public:
  Eigen::Vector3d gyro_;
  Eigen::Vector3d acc_;
  ForceResistance frp_l_;
  ForceResistance frp_r_;
  const std::string fri_team_;
  std::string team_[2];
  int f_score_;
  int e_score_;
  Side territory_;
  Hearing hear_[2];
  // Whether the current message carries vision, when the latest two came,
  // how many landmarks the latest one showed.
  VisionState vision_;

 private:
  // The game time depends only on the text, so it is read once per text and
  // reused by every sighting of that text.
  bool game_time_valid_;
  double game_time_;
  // Returned for a hearing outside the two slots.
  Hearing no_hearing_;
  std::string play_mode_;
  // Position of the first occurrence of each of the 22 joint names in the
  // text, found in one pass when the first joint is read.
  bool joint_index_valid_;
  std::string::size_type joint_pos_[22];
  // What ParseFrp read from the text for the left (0) and right (1) foot.
  bool frp_valid_[2];
  ForceResistance frp_read_[2];
  // Positions of "(P (team " and of the five body-part keywords in the
  // text, in ascending order, collected in one pass when the first player
  // is looked up. A search from a position is then a look-up in the list,
  // with the same result as scanning the text again for every player.
  bool player_index_valid_;
  struct PlayerKey {
    std::string::size_type pos;    // of "(P (team "
    std::string::size_type close;  // the first ')' behind it
    int id;                        // the number written behind, -1 if odd
  };
  std::vector<PlayerKey> players_;
  std::vector<std::string::size_type> part_pos_[5];

  double ReadGameTime() const;
  void TextChanged();
  void BuildPlayerIndex();
  void BuildJointIndex();
  PlayerKey PlayerKeyAt(std::string::size_type p) const;
  // plain_team: the team name holds no ')'.
  bool IsPlayerKey(const PlayerKey& key, const std::string& team, bool plain_team, int id) const;
  ForceResistance ReadFrp(const char* key, ForceResistance* stored);
};

#endif  // VEKTORLING_MESSAGE_MESSAGE_H
