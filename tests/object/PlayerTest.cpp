#include <memory>

#include <gtest/gtest.h>

#include "object/Player.h"

TEST(PlayerTest, FirstVisiblePartBecomesVisPartAlsoInCopies) {
  Player p("Friend");
  p.lfoot.visible = true;
  p.SetVisPartParameters();
  EXPECT_TRUE(p.GetVisible());
  EXPECT_EQ(p.GetpVisPart(), &p.lfoot);
  p.rarm.visible = true;  // earlier in the order than the left foot
  p.SetVisPartParameters();
  EXPECT_EQ(p.GetpVisPart(), &p.rarm);
  p.rarm.visible = false;
  p.lfoot.visible = false;
  p.SetVisPartParameters();
  EXPECT_FALSE(p.GetVisible());
  EXPECT_EQ(p.GetpVisPart(), &p.rarm);  // nothing seen: the old part stays

  // Copies point their visible part at their own parts.
  auto source = std::make_unique<Player>("Friend");
  source->SetID(4);
  source->rfoot.visible = true;
  source->rfoot.distance = 3.5;
  source->SetVisPartParameters();
  Player copy(*source);
  Player assigned;
  assigned = *source;
  source.reset();  // a pointer into the source would now dangle
  for (Player* c : {&copy, &assigned}) {
    EXPECT_EQ(c->GetID(), 4);
    ASSERT_EQ(c->GetpVisPart(), &c->rfoot);
    EXPECT_DOUBLE_EQ(c->GetpVisPart()->GetDistance(), 3.5);
  }
}
