#include "action/FielderAction.h"

void FielderAction::Act() {}
