#include "agent/CommonInformation.h"

#include "agent/walking/Walking.h"
#include "coordinate/AbsoluteCoordinate.h"
#include "object/Ball.h"
#include "object/Object.h"
#include "object/Player.h"

CommonInformation::CommonInformation()
    : ball_(new Ball()),
      total_(Eigen::Vector3d::Zero()),
      wk_(new Walking()),
      abs_(new AbsoluteCoordinate(AbsoluteCoordinate::OWN)),
      ball_abs_(new AbsoluteCoordinate(AbsoluteCoordinate::BALL)),
      id_(0) {
  br_.Follow(&abs_->cod_);
  for (int i = 0; i < kFlagNum; ++i) flag_[i] = new Object(Object::kFlagNames[i]);
  for (int i = 0; i < kPlayerSlots; ++i) {
    friend_[i] = new Player();
    enemy_[i] = new Player();
    friend_abs_[i] = new AbsoluteCoordinate();
  }
}

CommonInformation::~CommonInformation() {
  delete ball_;
  for (Object* f : flag_) delete f;
  for (int i = 0; i < kPlayerSlots; ++i) {
    delete friend_[i];
    delete enemy_[i];
    delete friend_abs_[i];
  }
  delete wk_;
  delete abs_;
  delete ball_abs_;
}
