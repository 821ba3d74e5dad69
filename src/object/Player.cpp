#include "object/Player.h"

namespace {
constexpr int kPartNum = Player::kPartCount;
}  // namespace

Player::Player() : Player(std::string()) {}

// vis_part_ starts at the head so that it never points nowhere, even before
// any part has been seen.
Player::Player(const std::string& name)
    : team_name(),
      ID(0),
      part_num_(kPartNum),
      head(name),
      rarm(name),
      larm(name),
      rfoot(name),
      lfoot(name),
      vis_part_(&head),
      visible_(false) {}

Player::Player(const Player& other)
    : team_name(other.team_name),
      ID(other.ID),
      part_num_(other.part_num_),
      head(other.head),
      rarm(other.rarm),
      larm(other.larm),
      rfoot(other.rfoot),
      lfoot(other.lfoot),
      vis_part_(nullptr),
      head_abs_(other.head_abs_),
      rarm_abs_(other.rarm_abs_),
      larm_abs_(other.larm_abs_),
      rfoot_abs_(other.rfoot_abs_),
      lfoot_abs_(other.lfoot_abs_),
      visible_(other.visible_) {
  vis_part_ = PartAt(other.VisPartIndex());
}

Player& Player::operator=(const Player& other) {
  if (this == &other) return *this;
  team_name = other.team_name;
  ID = other.ID;
  head = other.head;
  rarm = other.rarm;
  larm = other.larm;
  rfoot = other.rfoot;
  lfoot = other.lfoot;
  vis_part_ = PartAt(other.VisPartIndex());
  head_abs_ = other.head_abs_;
  rarm_abs_ = other.rarm_abs_;
  larm_abs_ = other.larm_abs_;
  rfoot_abs_ = other.rfoot_abs_;
  lfoot_abs_ = other.lfoot_abs_;
  visible_ = other.visible_;
  return *this;
}

int Player::VisPartIndex() const {
  const Object* parts[kPartNum] = {&head, &rarm, &larm, &rfoot, &lfoot};
  for (int i = 0; i < kPartNum; ++i) {
    if (vis_part_ == parts[i]) return i;
  }
  return 0;
}

Object* Player::PartAt(int index) {
  Object* parts[kPartNum] = {&head, &rarm, &larm, &rfoot, &lfoot};
  return parts[index];
}

void Player::SetVisPartParameters() {
  for (int i = 0; i < kPartNum; ++i) {
    Object* part = PartAt(i);
    if (part->visible) {
      vis_part_ = part;
      visible_ = true;
      return;
    }
  }
  visible_ = false;
}
