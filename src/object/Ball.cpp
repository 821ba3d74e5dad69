#include "object/Ball.h"

Ball::Ball() : Object("Ball") {}
