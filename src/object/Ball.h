#ifndef VEKTORLING_OBJECT_BALL_H
#define VEKTORLING_OBJECT_BALL_H

#include "object/Object.h"

// The ball: a seen object with the ball's physical constants.
class Ball : public Object {
 public:
  Ball();
  Ball(const Ball&) = default;
  // The constants are the same for every ball, so only the sighting is copied.
  Ball& operator=(const Ball& other) {
    Object::operator=(other);
    return *this;
  }

  double GetRadius() const { return radius; }
  double GetMass() const { return mass; }

  const double radius;  // metres
  const double mass;    // kilograms
};

#endif  // VEKTORLING_OBJECT_BALL_H
