#ifndef VEKTORLING_ACTION_ACTION_H
#define VEKTORLING_ACTION_ACTION_H

class Hear;

// Tactics: decides what the legs should do in open play.
class Action {
public:
  explicit Action(Hear* hear) : hear_(hear) {}
  virtual ~Action() = default;
  virtual void Act() = 0;

protected:
  Hear* hear_;
};

#endif
