#include "Vision.h"

#include <cmath>

#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "World.h"

namespace {

constexpr double kRad = M_PI / 180.0;

// A camera at the origin looking along +x, its right side towards -y.
Frame CameraAlongX(double height = 0.0) {
  Frame f;
  f.R = Eigen::AngleAxisd(-M_PI / 2, Eigen::Vector3d::UnitZ()).toRotationMatrix();
  f.p = Eigen::Vector3d(0, 0, height);
  return f;
}

TEST(SimVisionTest, PolarAnglesArePositiveToTheLeftAndUpwards) {
  const Frame cam = CameraAlongX();
  Polar p = Vision::ToPolar(cam, Eigen::Vector3d(3, 4, 0));
  EXPECT_NEAR(p.d, 5.0, 1e-12);
  EXPECT_NEAR(p.h, std::atan2(4, 3) / kRad, 1e-9);
  EXPECT_NEAR(p.v, 0.0, 1e-12);
  p = Vision::ToPolar(cam, Eigen::Vector3d(3, -4, 0));
  EXPECT_NEAR(p.h, -std::atan2(4, 3) / kRad, 1e-9);
  p = Vision::ToPolar(cam, Eigen::Vector3d(4, 0, 3));
  EXPECT_NEAR(p.v, std::atan2(3, 4) / kRad, 1e-9);
  EXPECT_NEAR(p.h, 0.0, 1e-12);
  // The vertical angle is measured from the horizontal distance, not from x alone.
  p = Vision::ToPolar(cam, Eigen::Vector3d(3, 4, -5));
  EXPECT_NEAR(p.v, -45.0, 1e-9);
}

TEST(SimVisionTest, FieldOfViewEndsSixtyDegreesFromTheAxis) {
  const Frame cam = CameraAlongX();
  auto at_h = [&](double deg) { return Eigen::Vector3d(std::cos(deg * kRad), std::sin(deg * kRad), 0); };
  auto at_v = [&](double deg) { return Eigen::Vector3d(std::cos(deg * kRad), 0, std::sin(deg * kRad)); };
  EXPECT_TRUE(Vision::InView(Vision::ToPolar(cam, at_h(59.9))));
  EXPECT_FALSE(Vision::InView(Vision::ToPolar(cam, at_h(60.1))));
  EXPECT_TRUE(Vision::InView(Vision::ToPolar(cam, at_h(-59.9))));
  EXPECT_FALSE(Vision::InView(Vision::ToPolar(cam, at_h(-60.1))));
  EXPECT_TRUE(Vision::InView(Vision::ToPolar(cam, at_v(59.9))));
  EXPECT_FALSE(Vision::InView(Vision::ToPolar(cam, at_v(60.1))));
  EXPECT_FALSE(Vision::InView(Vision::ToPolar(cam, at_v(-60.1))));
  EXPECT_FALSE(Vision::InView(Vision::ToPolar(cam, Eigen::Vector3d(-5, 0, 0))));  // behind
}

TEST(SimVisionTest, NoiseHasTheServerSpreadAndFollowsTheSeed) {
  Vision noisy(42, true);
  const Polar exact{10.0, 20.0, -5.0};
  const int n = 20000;
  double sd[3] = {0, 0, 0}, mean[3] = {0, 0, 0};
  for (int i = 0; i < n; ++i) {
    const Polar m = noisy.Measure(exact);
    const double e[3] = {m.d - exact.d, m.h - exact.h, m.v - exact.v};
    for (int k = 0; k < 3; ++k) {
      mean[k] += e[k] / n;
      sd[k] += e[k] * e[k] / n;
    }
  }
  EXPECT_NEAR(std::sqrt(sd[0]), 10.0 * 0.0965 / 100.0, 0.05 * 10.0 * 0.0965 / 100.0);
  EXPECT_NEAR(std::sqrt(sd[1]), 0.1225, 0.05 * 0.1225);
  EXPECT_NEAR(std::sqrt(sd[2]), 0.1480, 0.05 * 0.1480);
  for (double m : mean) EXPECT_NEAR(m, 0.0, 0.01);

  Vision a(7, true), b(7, true), c(8, true), off(7, false);
  const Polar pa = a.Measure(exact), pb = b.Measure(exact), pc = c.Measure(exact);
  EXPECT_EQ(pa.h, pb.h);
  EXPECT_NE(pa.h, pc.h);
  const Polar po = off.Measure(exact);
  EXPECT_EQ(po.d, exact.d);
  EXPECT_EQ(po.h, exact.h);
  EXPECT_EQ(po.v, exact.v);
}

// A noiseless field with the given robots beamed to their places.
class SimVisionFieldTest : public ::testing::Test {
protected:
  SimVisionFieldTest() : world_(Config()) {}
  static WorldConfig Config() {
    WorldConfig c;
    c.noise = false;
    return c;
  }
  int Join(const std::string& team, int unum, double x, double y, double rot) {
    const int id = world_.CreateRobot();
    world_.Perceive(id);
    std::string error;
    EXPECT_TRUE(world_.InitRobot(id, team, unum, &error)) << error;
    world_.ApplyCommands(id, "(beam " + std::to_string(x) + " " + std::to_string(y) + " " +
                                 std::to_string(rot) + ")");
    return id;
  }
  // Steps until the robot's message carries vision; returns it.
  std::string Look(int id) {
    for (int i = 0; i < 12; ++i) {
      world_.Step();
      std::string m;
      for (int other : ids_) {
        const std::string s = world_.Perceive(other);
        if (other == id) m = s;
      }
      if (i > 3 && m.find("(See") != std::string::npos) return m;
    }
    return "";
  }
  World world_;
  std::vector<int> ids_;
};

TEST_F(SimVisionFieldTest, LandmarksAndBallAtAKnownPoseMatchHandComputedValues) {
  ids_.push_back(Join("Alpha", 1, -4.0, 2.0, 0.0));
  const std::string m = Look(ids_[0]);
  ASSERT_FALSE(m.empty());
  // Camera: torso 0.405 m above the ground plus 0.155 m to the head.
  const double cz = 0.56;
  auto check = [&](const char* key, double x, double y, double z) {
    const double dx = x + 4.0, dy = y - 2.0, dz = z - cz;
    double d, h, v;
    ASSERT_TRUE(simtest::Pol(m, key, &d, &h, &v)) << key;
    EXPECT_NEAR(d, std::sqrt(dx * dx + dy * dy + dz * dz), 0.006) << key;
    EXPECT_NEAR(h, std::atan2(dy, dx) / kRad, 0.006) << key;
    EXPECT_NEAR(v, std::atan2(dz, std::hypot(dx, dy)) / kRad, 0.006) << key;
  };
  check("F1R", 15, 10, 0);    // 20.62 22.83 -1.56
  check("F2R", 15, -10, 0);
  check("G1R", 15, 1.05, 0.8);
  check("G2R", 15, -1.05, 0.8);
  check("B", 0, 0, 0.042);
  // The own goal is behind.
  EXPECT_EQ(m.find("(F1L"), std::string::npos);
  EXPECT_EQ(m.find("(G1L"), std::string::npos);
}

TEST_F(SimVisionFieldTest, TurningTheHeadTurnsTheView) {
  ids_.push_back(Join("Alpha", 1, -4.0, 2.0, 0.0));
  ASSERT_FALSE(Look(ids_[0]).empty());
  world_.ApplyCommands(ids_[0], "(he1 1.0)");
  for (int i = 0; i < 20; ++i) {
    world_.Step();
    world_.Perceive(ids_[0]);
  }
  world_.ApplyCommands(ids_[0], "(he1 0)");
  const std::string m = Look(ids_[0]);
  double pan = 0, d, h, v;
  ASSERT_EQ(std::sscanf(m.c_str() + m.find("(HJ (n hj1) (ax "), "(HJ (n hj1) (ax %lf", &pan), 1);
  EXPECT_GT(pan, 20.0);
  ASSERT_TRUE(simtest::Pol(m, "F1R", &d, &h, &v));
  EXPECT_NEAR(h, std::atan2(8.0, 19.0) / kRad - pan, 0.02);
}

TEST_F(SimVisionFieldTest, PlayersAreSeenPartByPartAndTheOwnArms) {
  ids_.push_back(Join("Alpha", 1, -4.0, 0.0, 0.0));
  ids_.push_back(Join("Beta", 1, -4.0, 0.0, 0.0));   // the right team: world (4, 0), facing -x
  ids_.push_back(Join("Alpha", 2, -6.0, 0.0, 0.0));  // behind number 1
  const std::string m = Look(ids_[0]);
  ASSERT_FALSE(m.empty());
  const std::string beta = simtest::Expression(m, "P (team Beta) (id 1)");
  ASSERT_FALSE(beta.empty()) << m;
  double d, h, v;
  ASSERT_TRUE(simtest::Pol(beta, "head", &d, &h, &v));
  EXPECT_NEAR(d, 8.0, 0.006);
  EXPECT_NEAR(h, 0.0, 0.006);
  EXPECT_NEAR(v, 0.0, 0.006);
  // Facing us, its right foot is on our left.
  double dr, hr, vr, dl, hl, vl;
  ASSERT_TRUE(simtest::Pol(beta, "rfoot", &dr, &hr, &vr));
  ASSERT_TRUE(simtest::Pol(beta, "lfoot", &dl, &hl, &vl));
  EXPECT_GT(hr, 0.2);
  EXPECT_LT(hl, -0.2);
  EXPECT_NEAR(vr, std::atan2(-0.56, 8.0 - 0.025) / kRad, 0.05);
  EXPECT_NE(beta.find("(rlowerarm"), std::string::npos);
  EXPECT_NE(beta.find("(llowerarm"), std::string::npos);

  // Its own lower arms, nothing else of itself; the teammate behind is not seen.
  const std::string self = simtest::Expression(m, "P (team Alpha) (id 1)");
  ASSERT_FALSE(self.empty());
  ASSERT_TRUE(simtest::Pol(self, "rlowerarm", &d, &h, &v));
  EXPECT_NEAR(d, 0.185, 0.01);
  EXPECT_LT(h, -30.0);
  ASSERT_TRUE(simtest::Pol(self, "llowerarm", &d, &h, &v));
  EXPECT_GT(h, 30.0);
  EXPECT_EQ(self.find("(head"), std::string::npos);
  EXPECT_EQ(self.find("foot"), std::string::npos);
  EXPECT_EQ(m.find("(id 2)"), std::string::npos);
}

TEST_F(SimVisionFieldTest, ARobotOnItsBackSeesTheSky) {
  ids_.push_back(Join("Alpha", 3, -4.0, 2.0, 0.0));
  ASSERT_FALSE(Look(ids_[0]).empty());
  EXPECT_TRUE(world_.TrainerCommand("(push (team Left)(unum 3))"));
  for (int i = 0; i < 20; ++i) {
    world_.Step();
    world_.Perceive(ids_[0]);
  }
  const std::string m = Look(ids_[0]);
  ASSERT_FALSE(m.empty());
  for (const char* mark : {"(F1L", "(F2L", "(F1R", "(F2R", "(G1R", "(G2R", "(G1L", "(G2L", "(B "}) {
    EXPECT_EQ(m.find(mark), std::string::npos) << mark;
  }
}

}  // namespace
