#include "RobotTypeRules.h"

#include <gtest/gtest.h>

namespace {

TEST(SimRobotTypeRulesTest, EachRuleRefusesInTurnAndNamesItself) {
  const RobotTypeRules real, wide(11, 11);  // wide: only the rule of three types limits
  const struct {
    const RobotTypeRules& rules;
    RobotTypeRules::Counts team;
    int type;
    const char* refusal;
  } cases[] = {
      {real, {6, 2, 0, 0, 0}, 0, ""},
      {real, {7, 2, 0, 0, 0}, 0, "no more robots of type 0 are allowed: a team has at most 7 robots of one type"},
      {real, {7, 1, 0, 0, 0}, 1, ""},
      {real, {7, 2, 0, 0, 0}, 1,
       "no more robots of type 1 are allowed: a team has at most 9 robots of any two types together (type 0 has 7, "
       "type 1 has 2)"},
      {real, {7, 2, 0, 0, 0}, 2, ""},
      // The last two places of a team of two types must take new types.
      {real, {6, 3, 0, 0, 0}, 0, "no more robots of type 0 are allowed: a team has at most 9 robots of any two types "
                                  "together (type 0 has 6, type 1 has 3)"},
      {real, {6, 3, 0, 0, 0}, 4, ""},
      {wide, {8, 1, 0, 0, 0}, 0, ""},
      {wide, {9, 0, 0, 0, 0}, 0,
       "only a robot type the team does not use yet is accepted: a team of 11 needs at least 3 different types (2 "
       "places left, 2 types missing)"},
      {wide, {9, 1, 0, 0, 0}, 1,
       "only a robot type the team does not use yet is accepted: a team of 11 needs at least 3 different types (1 "
       "place left, 1 type missing)"},
      {wide, {9, 1, 0, 0, 0}, 3, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.team[0] << c.team[1] << c.team[2] << c.team[3] << " + " << c.type);
    EXPECT_EQ(c.refusal, c.rules.Refusal(c.team, c.type));
  }
}

}  // namespace
