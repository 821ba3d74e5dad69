#include "message/Hearing.h"

Hearing::Hearing() { Init(); }

void Hearing::Init() {
  msg_.clear();
  team_.clear();
  time_ = 0.0;
  myself_ = false;
  direction_ = 0.0;
  text_.clear();
}
