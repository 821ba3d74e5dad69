#ifndef VEKTORLING_ACTION_FIELDERACTION_H
#define VEKTORLING_ACTION_FIELDERACTION_H

#include "action/Action.h"

class Walking;

// The field player's tactics: walk straight ahead at full speed. Kicking,
// standing up and the kick-off are chosen by the behaviour selection.
class FielderAction : public Action {
public:
  // walk: the walk whose parameters Act sets; it must outlive this object.
  FielderAction(Hear* hear, Walking* walk) : Action(hear), walk_(walk) {}
  void Act() override;

private:
  Walking* walk_;
};

#endif
