#include "object/Player.h"

Object* Player::PartAt(int index) {
  Object* parts[kPartCount] = {&head, &rarm, &larm, &rfoot, &lfoot};
  return parts[index];
}
