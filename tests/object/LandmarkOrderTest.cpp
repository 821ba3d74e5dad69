// A robot on the right side mirrors the landmarks' sightings after each
// vision; before the next vision is parsed they must go back to their own
// slots exactly, or the parser would carry one landmark's past into another.
#include <gtest/gtest.h>

#include "object/Object.h"

namespace {

struct Landmarks {
  Object flag[Object::kFlagNum];
  Object* at[Object::kFlagNum];
  Landmarks() {
    for (int i = 0; i < Object::kFlagNum; ++i) {
      flag[i].InitName(Object::kFlagNames[i]);
      flag[i].visible = i % 3 != 0;
      flag[i].vis_time = 1.0 + i;
      flag[i].before_vis_time = 0.5 + i;
      flag[i].distance = 10.0 + i;
      flag[i].h_angle = 20.0 + i;
      flag[i].v_angle = 30.0 + i;
      flag[i].rel_cod_.x() = 40.0 + i;  // derived: stays with the slot
      at[i] = &flag[i];
    }
  }
};

// The landmark whose sighting slot i holds, -1 when the fields disagree.
int Holds(const Object& o, int slot) {
  const int k = static_cast<int>(o.distance) - 10;
  const bool whole = o.name == Object::kFlagNames[k] && o.visible == (k % 3 != 0) && o.vis_time == 1.0 + k &&
                     o.before_vis_time == 0.5 + k && o.h_angle == 20.0 + k && o.v_angle == 30.0 + k &&
                     o.rel_cod_.x() == 40.0 + slot;
  return whole ? k : -1;
}

TEST(LandmarkOrderTest, MirroredSightingsGoBackToTheirOwnSlots) {
  const int kMirror[Object::kFlagNum] = {3, 2, 1, 0, 7, 6, 5, 4};
  const struct {
    int mirrors;  // with vision; one without comes in between
    bool restore;
    bool mirrored;
  } kCases[] = {{0, false, false}, {1, false, true}, {2, false, false},
                {0, true, false},  {1, true, false}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.mirrors << " mirrors, restore " << c.restore);
    Landmarks l;
    for (int n = 0; n < c.mirrors; ++n) {
      Object::ReverseFlagsPosition(l.at, true);
      Object::ReverseFlagsPosition(l.at, false);
    }
    if (c.restore) Object::RestoreFlagOrder(l.at);
    for (int i = 0; i < Object::kFlagNum; ++i) EXPECT_EQ(Holds(l.flag[i], i), c.mirrored ? kMirror[i] : i) << i;
  }
}

}  // namespace
