#ifndef VEKTORLING_TOOL_LOCUS_H
#define VEKTORLING_TOOL_LOCUS_H

#include "tool/ValueManager.h"

// A foot trajectory: a closed loop of ankle targets in the sagittal plane of
// the leg (millimetres, x horizontal with forward negative, y up from the
// hip), handed out one point per UpdatePoint call for each foot.
class Locus {
 public:
  Locus();
  virtual ~Locus();
  Locus(const Locus&) = delete;
  Locus& operator=(const Locus&) = delete;

  virtual void UpdatePoint() = 0;

  double GetRightTargetX() const { return right_target_x_; }
  double GetRightTargetY() const { return right_target_y_; }
  double GetLeftTargetX() const { return left_target_x_; }
  double GetLeftTargetY() const { return left_target_y_; }
  // Step counter within the loop: its value is the index of the next point.
  const ValueManager<int>& GetCycle() const { return *cycle_; }

 protected:
  double right_target_x_;
  double right_target_y_;
  double left_target_x_;
  double left_target_y_;
  ValueManager<int>* cycle_;
};

#endif  // VEKTORLING_TOOL_LOCUS_H
