#ifndef VEKTORLING_AGENT_FINDING_FINDING_H
#define VEKTORLING_AGENT_FINDING_FINDING_H

// Sweep state of the head while it searches for the ball.
class Finding {
public:
  enum Vertical { NONE_V = 0, UP = 1, DOWN = 2 };
  enum Horizon { NONE_H = 0, LEFT = 1, RIGHT = 2 };

  int GetStatus() const { return status; }
  Vertical GetVertical() const { return vt; }
  Horizon GetHorizon() const { return hz; }
  void SetStatus(int s) { status = s; }
  void SetVertical(Vertical v) { vt = v; }
  void SetHorizon(Horizon h) { hz = h; }
  void InitVertical() { vt = NONE_V; }
  void InitHorizon() { hz = NONE_H; }

  int status = 0;
  Vertical vt = NONE_V;
  Horizon hz = NONE_H;
};

#endif
