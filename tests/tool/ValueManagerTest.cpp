#include "tool/ValueManager.h"

#include <limits>

#include <gtest/gtest.h>

namespace {

TEST(ValueManagerTest, ConstructionSwapsBoundsClampsValueAndInterval) {
  ValueManager<int> a(5, 1, 9, 0);
  EXPECT_EQ(a.GetMin(), 1);
  EXPECT_EQ(a.GetMax(), 5);
  EXPECT_EQ(a.GetValue(), 5);
  EXPECT_EQ(a.GetInterval(), 1);
  EXPECT_EQ(a.GetFlame(), 0);
  EXPECT_TRUE(a.Swicth);
  EXPECT_TRUE(a.GetEnableUpdate());

  ValueManager<double> b(-1.0, 1.0, -3.0, -7);
  EXPECT_EQ(b.GetValue(), -1.0);
  EXPECT_EQ(b.GetInterval(), 1);
  ValueManager<unsigned short> c(2, 8, 4, 3);
  EXPECT_EQ(c.GetValue(), 4);
  EXPECT_EQ(c.GetInterval(), 3);
}

TEST(ValueManagerTest, FixedStepsStopAtTheBounds) {
  ValueManager<double> w(-1.0, 1.0, 0.0, 1);
  for (int i = 0; i < 40; ++i) {
    w.AdditionFixed(0.03);
    EXPECT_LE(w.GetValue(), 1.0);
  }
  EXPECT_EQ(w.GetValue(), 1.0);
  w.AdditionFixed(-5.0);
  EXPECT_EQ(w.GetValue(), -1.0);

  ValueManager<int> n(0, 2, 1, 1);
  n.IncrementFixed();
  n.IncrementFixed();
  EXPECT_EQ(n.GetValue(), 2);
  n.DecrementFixed();
  n.DecrementFixed();
  n.DecrementFixed();
  EXPECT_EQ(n.GetValue(), 0);
}

TEST(ValueManagerTest, RingStepsWrapRound) {
  ValueManager<int> r(0, 5, 5, 1);
  r.IncrementRing();
  EXPECT_EQ(r.GetValue(), 0);
  r.DecrementRing();
  EXPECT_EQ(r.GetValue(), 5);

  ValueManager<int> a(0, 9, 8, 1);
  a.AdditionRing(3);
  EXPECT_EQ(a.GetValue(), 1);
  a.AdditionRing(-3);
  EXPECT_EQ(a.GetValue(), 8);  // -2 + 9 - 0 + 1
  a.AdditionRing(1);
  EXPECT_EQ(a.GetValue(), 9);  // reaching the bound itself does not wrap

  ValueManager<long> b(-3, 3, 0, 1);
  for (int i = 0; i < 7; ++i) b.AdditionRing(1);  // one whole period
  EXPECT_EQ(b.GetValue(), 0);
}

TEST(ValueManagerTest, ElevatorBouncesOneStepInsideTheBounds) {
  ValueManager<int> e(0, 3, 0, 1);
  const int expected[] = {1, 2, 3, 2, 1, 0, 1, 2, 3, 2};
  for (int want : expected) {
    e.RunElevator();
    EXPECT_EQ(e.GetValue(), want);
  }
  // A big step still reflects to Max - 1 and Min + 1.
  ValueManager<double> d(0.0, 10.0, 9.0, 1);
  d.RunElevator(5.0);
  EXPECT_EQ(d.GetValue(), 9.0);
  EXPECT_FALSE(d.Swicth);
  d.RunElevator(4.0);
  EXPECT_EQ(d.GetValue(), 5.0);
  d.RunElevator(8.0);
  EXPECT_EQ(d.GetValue(), 1.0);
  EXPECT_TRUE(d.Swicth);
}

TEST(ValueManagerTest, IntervalLetsEveryKthFrameAct) {
  ValueManager<int> v(0, 100, 0, 3);
  v.IncrementFixed();  // before the first UpdateFlame the holder acts
  EXPECT_EQ(v.GetValue(), 1);
  for (int call = 1; call <= 9; ++call) {
    v.UpdateFlame();
    EXPECT_EQ(v.GetEnableUpdate(), call % 3 == 0) << call;
    EXPECT_EQ(v.GetFlame(), call % 3);
    v.IncrementFixed();
    v.AdditionRing(1);
    v.RunElevator();
  }
  EXPECT_EQ(v.GetValue(), 1 + 3 * 3);

  ValueManager<int> one(0, 100, 0, 1);
  for (int call = 0; call < 4; ++call) {
    one.UpdateFlame();
    EXPECT_TRUE(one.GetEnableUpdate());
    one.IncrementRing();
  }
  EXPECT_EQ(one.GetValue(), 4);
}

TEST(ValueManagerTest, SettersDoNotReclamp) {
  ValueManager<double> v(-1.0, 1.0, 0.8, 1);
  v.SetMax(0.5);
  EXPECT_EQ(v.GetValue(), 0.8);
  v.AdditionFixed(0.0);
  EXPECT_EQ(v.GetValue(), 0.5);

  v.SetMin(3.0);  // min above max stays as set
  EXPECT_EQ(v.GetMin(), 3.0);
  v.SetInterval(0);
  v.SetFlame(7);
  EXPECT_EQ(v.GetInterval(), 0);
  EXPECT_EQ(v.GetFlame(), 7);
  v.UpdateFlame();
  EXPECT_EQ(v.GetFlame(), 0);
  EXPECT_TRUE(v.GetEnableUpdate());
}

TEST(ValueManagerTest, ArithmeticIsThatOfTheType) {
  // Unsigned: one below zero is the type's largest value, checked afterwards.
  ValueManager<unsigned int> u(0u, 5u, 0u, 1);
  u.DecrementRing();
  EXPECT_EQ(u.GetValue(), std::numeric_limits<unsigned int>::max());
  ValueManager<unsigned long> ul(2ul, 5ul, 2ul, 1);
  ul.DecrementRing();
  EXPECT_EQ(ul.GetValue(), 5ul);

  // Whole steps on floating-point holders; the unit step of float is 1.
  ValueManager<float> f(0.0f, 2.5f, 2.0f, 1);
  f.IncrementRing();
  EXPECT_EQ(f.GetValue(), 0.0f);
  ValueManager<long double> ld(0.0L, 1.0L, 0.25L, 1);
  ld.AdditionRing(1.0L);  // 1.25 + 0 - 1 - 1
  EXPECT_EQ(ld.GetValue(), -0.75L);

  // Signed limits wrap round instead of being undefined.
  const int imax = std::numeric_limits<int>::max();
  ValueManager<int> big(0, imax, imax, 1);
  big.IncrementRing();
  // INT_MAX + 1 is the type's smallest value: not above Max, so it stays.
  EXPECT_EQ(big.GetValue(), std::numeric_limits<int>::min());
  ValueManager<short> s(-5, 5, 5, 1);
  s.AdditionRing(static_cast<short>(2));
  EXPECT_EQ(s.GetValue(), -4);
}

}  // namespace
