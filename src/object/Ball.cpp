#include "object/Ball.h"

namespace {
constexpr double kBallRadius = 0.042;
constexpr double kBallMass = 0.026;
}  // namespace

Ball::Ball() : Object("Ball"), radius(kBallRadius), mass(kBallMass) {}
