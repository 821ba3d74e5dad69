#ifndef VEKTORLING_ACTION_FIELDERACTION_H
#define VEKTORLING_ACTION_FIELDERACTION_H

#include "action/Action.h"

// The field player's tactics. They come with the walking engine; until then
// Act() gives the walk no command.
class FielderAction : public Action {
public:
  explicit FielderAction(Hear* hear) : Action(hear) {}
  void Act() override;
};

#endif
