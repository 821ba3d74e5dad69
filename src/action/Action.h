#ifndef VEKTORLING_ACTION_ACTION_H
#define VEKTORLING_ACTION_ACTION_H

#include <optional>

#include <Eigen/Core>

class Hear;

// Tactics: decides what the legs should do in open play.
class Action {
public:
  explicit Action(Hear* hear) : hear_(hear) {}
  virtual ~Action() = default;
  virtual void Act() = 0;
  // Whether the last Act asks the behaviour selection for the kick.
  virtual bool WantsKick() const { return false; }
  // The point (field frame) the last Act walks to, when it names one.
  virtual std::optional<Eigen::Vector2d> WalkTarget() const { return std::nullopt; }

protected:
  Hear* hear_;
};

#endif
