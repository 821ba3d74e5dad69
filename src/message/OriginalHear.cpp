#include "message/OriginalHear.h"

namespace {
// Teams whose messages this dialect reads.
const char* const kTeams[] = {"NEB-Q", "Agent"};
// Codes of a sender whose ball position is not taken: ready, getting up, 6.
bool Resting(int b) { return b == 1 || b == 3 || b == 6; }
// The ball's position after the behaviour symbol of a full report.
const std::size_t kBallSymbolsFrom = 12;
}  // namespace

void OriginalHear::SetHearingMsg(const std::string& text, int, const std::string& team) {
  hearing_msg = text;
  if (!text.empty() && (team == kTeams[0] || team == kTeams[1])) {
    const std::size_t u = text.find('_');
    const int s = Sender(u, text);
    const std::size_t q = u == std::string::npos ? std::string::npos : text.find('D', u + 2);
    if (q == std::string::npos) {
      DecodeBallReport(u, text);
    } else if (DecodeFullReport(q, s, text) && !Resting(beh_[s]) &&
               Digits(q + kBallSymbolsFrom, 4, text)) {
      std::size_t next = 0;
      h_ball_abs_x = AbsCut(q + 11, next, text);
      h_ball_abs_y = AbsCut(q + 13, next, text);
    }
  }
  HearTactics();
  hearing_msg.clear();
}
