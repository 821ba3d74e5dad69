#ifndef VEKTORLING_ACTION_FIELDERACTION_H
#define VEKTORLING_ACTION_FIELDERACTION_H

#include "action/Action.h"

// The field player's tactics: walk straight ahead at full speed. Kicking,
// standing up and the kick-off are chosen by the behaviour selection.
class FielderAction : public Action {
public:
  explicit FielderAction(Hear* hear) : Action(hear) {}
  void Act() override;
};

#endif
