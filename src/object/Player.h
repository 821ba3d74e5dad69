#ifndef VEKTORLING_OBJECT_PLAYER_H
#define VEKTORLING_OBJECT_PLAYER_H

#include "object/Object.h"

// Another robot as seen: five body parts, each a seen object. Their field
// positions are estimated on the world side.
class Player {
 public:
  // Part i (0..4) in the order head, right lower arm, left lower arm, right
  // foot, left foot.
  static constexpr int kPartCount = 5;
  Object* PartAt(int index);
  const Object* PartAt(int index) const { return const_cast<Player*>(this)->PartAt(index); }

  Object head;
  Object rarm;
  Object larm;
  Object rfoot;
  Object lfoot;
};

#endif  // VEKTORLING_OBJECT_PLAYER_H
