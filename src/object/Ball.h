#ifndef VEKTORLING_OBJECT_BALL_H
#define VEKTORLING_OBJECT_BALL_H

#include "object/Object.h"

// The ball: a seen object.
class Ball : public Object {
 public:
  Ball();
};

#endif  // VEKTORLING_OBJECT_BALL_H
