#include "message/OriginalHear.h"

void OriginalHear::SetHearingMsg(const std::string&, int, const std::string&) {}
