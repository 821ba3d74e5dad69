#include <memory>

#include <gtest/gtest.h>

#include "object/Player.h"

TEST(PlayerTest, NamedPartsAndDefaults) {
  Player p("Enemy");
  EXPECT_EQ(p.GetPartNum(), 5);
  EXPECT_EQ(p.GetID(), 0);
  EXPECT_TRUE(p.GetTeamName().empty());
  EXPECT_FALSE(p.GetVisible());
  for (Object* part : {p.GetHeadParam(), p.GetRarmParam(), p.GetLarmParam(), p.GetRfootParam(),
                       p.GetLfootParam()}) {
    EXPECT_EQ(part->GetName(), "Enemy");
  }
  EXPECT_NE(p.GetpVisPart(), nullptr);
}

TEST(PlayerTest, FirstVisiblePartBecomesVisPart) {
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
}

TEST(PlayerTest, CopiesPointVisPartAtTheirOwnParts) {
  auto source = std::make_unique<Player>("Friend");
  source->SetID(4);
  source->rfoot.visible = true;
  source->rfoot.distance = 3.5;
  source->SetVisPartParameters();

  Player copy(*source);
  Player assigned;
  assigned = *source;
  source.reset();  // a pointer into the source would now dangle

  for (Player* p : {&copy, &assigned}) {
    EXPECT_EQ(p->GetID(), 4);
    EXPECT_TRUE(p->GetVisible());
    ASSERT_EQ(p->GetpVisPart(), &p->rfoot);
    EXPECT_DOUBLE_EQ(p->GetpVisPart()->GetDistance(), 3.5);
  }

  assigned = assigned;  // self-assignment keeps the part
  EXPECT_EQ(assigned.GetpVisPart(), &assigned.rfoot);

  Player arr[2];
  arr[1].head.visible = true;
  arr[1].SetVisPartParameters();
  arr[0] = arr[1];
  EXPECT_EQ(arr[0].GetpVisPart(), &arr[0].head);
}
