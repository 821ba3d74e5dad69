#include "action/FielderAction.h"

#include "agent/walking/Walking.h"

namespace {
// Forward speed, sideways direction, turning curve, wide stance.
const double kSpeed = 1.0;
const double kDirection = 0.0;
const double kCurve = 0.0;
const bool kOpenFoot = false;
}  // namespace

void FielderAction::Act() {
  if (walk_ != nullptr) walk_->SettingParam(kSpeed, kDirection, kCurve, kOpenFoot);
}
