#include "message/Hear.h"

void Hear::SetHearingMsg(const std::string&, int, const std::string&) {}
