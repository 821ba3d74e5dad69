#ifndef VEKTORLING_MESSAGE_ORIGINALHEAR_H
#define VEKTORLING_MESSAGE_ORIGINALHEAR_H

#include "message/Hear.h"

// Decoder for the "0.6.8" dialect, fed with the heard record's text.
class OriginalHear : public Hear {
public:
  void SetHearingMsg(const std::string& text, int my_id, const std::string& team) override;
};

#endif
