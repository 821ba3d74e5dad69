#ifndef VEKTORLING_AGENT_FINDING_FINDING_H
#define VEKTORLING_AGENT_FINDING_FINDING_H

class Object;

// Sweep state of the head while it searches for the ball, and the heading
// that a pair of landmarks shows.
class Finding {
public:
  enum Status { NORMAL = 0, SEARCH = 1, UPDATE = 2 };
  enum Vertical { NONE_V = 0, UP = 1, DOWN = 2 };
  enum Horizon { NONE_H = 0, LEFT = 1, RIGHT = 2 };

  Status GetStatus() const { return st; }
  Vertical GetVertical() const { return vt; }
  Horizon GetHorizon() const { return hz; }
  void SetStatus(Status s) { st = s; }
  void SetVertical(Vertical v) { vt = v; }
  void SetHorizon(Horizon h) { hz = h; }
  void InitVertical() { vt = NONE_V; }
  void InitHorizon() { hz = NONE_H; }

  // Bearing (degrees) of landmark b seen from landmark a, both placed in
  // the plane from their sightings and the head's pan and tilt, plus offset.
  double ReVision(const Object& a, const Object& b, double pan, double tilt, double offset) const;

  Status st = NORMAL;
  Vertical vt = NONE_V;
  Horizon hz = NONE_H;
};

#endif
