#include "message/Say.h"

std::string Say::SetSayingMsg(double, int) {
  existing = false;
  return std::string();
}
