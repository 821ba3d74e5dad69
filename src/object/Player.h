#ifndef VEKTORLING_OBJECT_PLAYER_H
#define VEKTORLING_OBJECT_PLAYER_H

#include <string>

#include "coordinate/AbsoluteCoordinate.h"
#include "object/Object.h"

// Another robot as seen: five body parts, each a seen object with its own
// field-position estimate.
class Player {
 public:
  Player();
  explicit Player(const std::string& name);
  // vis_part_ points at one of this player's own parts; a copy points at the
  // same part of the copy, never back into the source.
  Player(const Player& other);
  Player& operator=(const Player& other);

  void SetTeamName(const std::string& team) { team_name = team; }
  void SetID(int id) { ID = id; }
  void SetHeadParam(const Object& o) { head = o; }
  void SetRarmParam(const Object& o) { rarm = o; }
  void SetLarmParam(const Object& o) { larm = o; }
  void SetRfootParam(const Object& o) { rfoot = o; }
  void SetLfootParam(const Object& o) { lfoot = o; }
  void SetHeadAbs(const AbsoluteCoordinate& a) { head_abs_ = a; }
  void SetRarmAbs(const AbsoluteCoordinate& a) { rarm_abs_ = a; }
  void SetLarmAbs(const AbsoluteCoordinate& a) { larm_abs_ = a; }
  void SetRfootAbs(const AbsoluteCoordinate& a) { rfoot_abs_ = a; }
  void SetLfootAbs(const AbsoluteCoordinate& a) { lfoot_abs_ = a; }

  const std::string& GetTeamName() const { return team_name; }
  int GetID() const { return ID; }
  int GetPartNum() const { return part_num_; }
  Object* GetHeadParam() { return &head; }
  Object* GetRarmParam() { return &rarm; }
  Object* GetLarmParam() { return &larm; }
  Object* GetRfootParam() { return &rfoot; }
  Object* GetLfootParam() { return &lfoot; }
  Object* GetpVisPart() { return vis_part_; }
  const Object* GetpVisPart() const { return vis_part_; }
  AbsoluteCoordinate* GetHeadAbs() { return &head_abs_; }
  AbsoluteCoordinate* GetRarmAbs() { return &rarm_abs_; }
  AbsoluteCoordinate* GetLarmAbs() { return &larm_abs_; }
  AbsoluteCoordinate* GetRfootAbs() { return &rfoot_abs_; }
  AbsoluteCoordinate* GetLfootAbs() { return &lfoot_abs_; }
  bool GetVisible() const { return visible_; }

  // The first visible part in the order head, right lower arm, left lower
  // arm, right foot, left foot becomes vis_part_; with none visible the
  // player is invisible and vis_part_ stays as it was.
  void SetVisPartParameters();

  std::string team_name;
  int ID;
  const int part_num_;
  Object head;
  Object rarm;
  Object larm;
  Object rfoot;
  Object lfoot;
  Object* vis_part_;
  AbsoluteCoordinate head_abs_;
  AbsoluteCoordinate rarm_abs_;
  AbsoluteCoordinate larm_abs_;
  AbsoluteCoordinate rfoot_abs_;
  AbsoluteCoordinate lfoot_abs_;
  bool visible_;

  // Part i (0..4) in the order head, right lower arm, left lower arm, right
  // foot, left foot.
  static constexpr int kPartCount = 5;
  Object* PartAt(int index);
  const Object* PartAt(int index) const { return const_cast<Player*>(this)->PartAt(index); }

 private:
  // Index 0..4 of the part vis_part_ points at (head when it points nowhere known).
  int VisPartIndex() const;
};

#endif  // VEKTORLING_OBJECT_PLAYER_H
