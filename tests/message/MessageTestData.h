#ifndef VEKTORLING_TESTS_MESSAGE_MESSAGETESTDATA_H
#define VEKTORLING_TESTS_MESSAGE_MESSAGETESTDATA_H

#include <string>

#include "../agent/RecordedSession.h"

// A vision message the server sent to robot 1 of team "Alpha" standing on
// the left half (line 7 of the recorded session).
inline const std::string& RecordedVisionMessage() {
  static const std::string message = RecordedSession().at(6);
  return message;
}

#endif  // VEKTORLING_TESTS_MESSAGE_MESSAGETESTDATA_H
