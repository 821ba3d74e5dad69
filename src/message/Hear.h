#ifndef VEKTORLING_MESSAGE_HEAR_H
#define VEKTORLING_MESSAGE_HEAR_H

#include <string>

class Brain;

// Decoder of the team messages of the own team's players: keeps each
// player's latest report (ball distance, position, behaviour) and the
// latest heard ball position, and elects the player that goes for the ball.
// Texts that cannot be decoded (no "_", cut off, a sender outside 1 to 11,
// symbols that are not base-21 digits) are ignored; nothing is read beyond
// a text or outside the per-player arrays.
class Hear {
public:
  static const int kSlots = 12;  // index = uniform number, slot 0 unused

  Hear();
  virtual ~Hear() = default;

  // Reads the first own-team report among the "(hear ...)" expressions of
  // the server message, then elects. id and team are not used.
  virtual void SetHearingMsg(const std::string& message, int id, const std::string& team);

  // The own team's name: heard messages that name another team are not
  // read. Empty: every message is read.
  void SetOwnTeam(const std::string& team) { own_team_ = team; }
  // The game state that JudgeAtackPlayMode asks; it must outlive this
  // decoder. Without one no play mode lets the team attack.
  void Watch(const Brain* brain) { brain_ = brain; }

  bool CheckHearingMsg() const { return hearing; }
  void SetNearBallFri(int k) { near_ball_fri = k; }
  void SetNearBallFri2(int k) { near_ball_fri2 = k; }
  int GetNearBallFri() const { return near_ball_fri; }
  int GetNearBallFri2() const { return near_ball_fri2; }
  void SetNearBallDis(const double* dis);
  double GetNearBallDis(int i) const { return i >= 0 && i < kSlots ? ball_dis[i] : 0.0; }

  // Base-21 readers of the symbols after position p of text; next is set
  // past them. A position beyond the text reads as 0.
  static int kensakuID(std::size_t p, std::size_t& next, const std::string& text);
  static int kensaku(std::size_t p, std::size_t& next, const std::string& text);
  // A coordinate in metres (decimetres from -25 m); p = npos reads 0.
  static double AbsCut(std::size_t p, std::size_t& next, const std::string& text);
  static int C21to10(const std::string& text);

  // Whether the play mode lets the own team attack.
  bool JudgeAtackPlayMode() const;
  // Elects near_ball_fri (and the runner-up) from the stored reports.
  void HearTactics();

  bool hearing;
  int near_ball_fri;
  int near_ball_fri2;
  std::string hearing_msg;
  double ball_dis_min;
  double ball_dis_min2;
  double ball_dis[kSlots];
  double h_ball_abs_x;
  double h_ball_abs_y;
  double h_abs_x[kSlots];
  double h_abs_y[kSlots];
  double h_near_ball_fri_x;
  double h_near_ball_fri_y;
  int beh_[kSlots];
  bool can_see_[kSlots];
  // Whether a full report of player k has been read (its h_abs_x/y[k]).
  bool reported_[kSlots];

protected:
  // The sender of a report after the "_" at u; 0 when it is not 1 to 11.
  int Sender(std::size_t u, const std::string& text) const;
  // A full report whose "D" is at q (sender s); false, changing nothing,
  // when it is cut off or holds symbols that are not base-21 digits.
  bool DecodeFullReport(std::size_t q, int s, const std::string& text);
  // A ball report after the "_" at u; false as above.
  bool DecodeBallReport(std::size_t u, const std::string& text);
  // Whether the count symbols after position p are all base-21 digits.
  static bool Digits(std::size_t p, std::size_t count, const std::string& text);

  std::string own_team_;
  const Brain* brain_ = nullptr;
};

#endif
