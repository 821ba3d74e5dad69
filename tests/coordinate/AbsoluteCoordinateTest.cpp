// The position estimates: own robot from landmarks, ball and other players
// from relative sightings.
#include <gtest/gtest.h>

#include "../support/ServerText.h"
#include "coordinate/AbsoluteCoordinate.h"
#include "object/Ball.h"

namespace {

class AbsoluteCoordinateTest : public ::testing::Test {
protected:
  void SetUp() override {
    in.ball = ci->ball_;
  }
  // The cycle as the estimates read it, with the blackboard's body rotation.
  const EstimateInputs& In() {
    in.total = ci->total_;
    return in;
  }
  CommonInformation blackboard;
  CommonInformation* ci = &blackboard;
  EstimateInputs in;
};

TEST_F(AbsoluteCoordinateTest, ExactLandmarkSetsThePositionWhateverThePrior) {
  AbsoluteCoordinate& own = *ci->abs_;
  own.cod_ = Eigen::Vector3d(4, 4, 4);
  own.covariance_error_ = KalmanMatrix::Identity();
  in.see = true;
  Object& f2l = *ci->flag_[3];  // (10, 15, 0) in the field frame
  f2l.visible = true;
  f2l.distance = 5;
  f2l.rel_cod_ = Eigen::Vector3d(-3, -4, 0.5);
  f2l.measure_covariance_error_.setZero();
  own.Update(ci->flag_, In());
  EXPECT_TRUE(own.cod_.isApprox(Eigen::Vector3d(7, 11, 0.5)));
  EXPECT_TRUE(f2l.tgt);  // the nearest visible landmark is marked
}

TEST_F(AbsoluteCoordinateTest, WithoutVisionTheVelocityDecaysAndTheWalkCarries) {
  AbsoluteCoordinate& own = *ci->abs_;
  in.see = false;
  own.abspeed_ = Eigen::Vector3d(1, -2, 0);
  own.Update(ci->flag_, In());
  EXPECT_TRUE(own.abspeed_.isApprox(Eigen::Vector3d(0.98, -1.96, 0)));
  // Position: velocity times the step, less half the braking.
  EXPECT_NEAR(own.cod_.x(), 0.02 - 0.0002, 1e-12);

  // Walking straight at speed v: 6/217 v per message along the heading.
  struct Case {
    double yaw, dx, dy;
  } cases[] = {{0, 0, -1}, {90, 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.yaw);
    own.cod_.setZero();
    own.abspeed_.setZero();
    ci->total_.z() = c.yaw;
    in.walk_speed = 0.5;
    own.Update(ci->flag_, In());
    const double s = 0.5 * 6.0 / 217.0;
    EXPECT_NEAR(own.cod_.x(), c.dx * s, 1e-12);
    EXPECT_NEAR(own.cod_.y(), c.dy * s, 1e-12);
  }
  // Turning and side-stepping shorten the stride.
  own.cod_.setZero();
  ci->total_.z() = 0;
  in.walk_direction = -1;
  in.walk_curve = 0.5;
  own.Update(ci->flag_, In());
  EXPECT_NEAR(own.cod_.y(), -0.7 * 0.95 * 0.5 * 6.0 / 217.0, 1e-12);
}

TEST_F(AbsoluteCoordinateTest, BallVelocityUsesTheSightingIntervalWithAFloor) {
  AbsoluteCoordinate& ball = *ci->ball_abs_;
  Ball& seen = *ci->ball_;
  in.see = true;
  seen.visible = true;
  seen.measure_covariance_error_.setZero();  // trust the sightings fully
  seen.vis_time = seen.before_vis_time = 0;  // as the parser leaves them
  ball.before_measure_location_ = Eigen::Vector3d(1, 1, 0);
  ball.UpdateGenerate(Eigen::Vector3d(-0.6, -1, 0), Eigen::Vector3d(1, 1, 0), In());
  EXPECT_TRUE(ball.cod_.isApprox(Eigen::Vector3d(1.6, 2, 0)));
  EXPECT_TRUE(ball.abspeed_.isApprox(Eigen::Vector3d(0.6, 1, 0) / 0.06));

  seen.before_vis_time = 1.0;
  seen.vis_time = 1.2;
  ball.UpdateGenerate(Eigen::Vector3d(-0.6, -1.2, 0), Eigen::Vector3d(1, 1, 0), In());
  EXPECT_TRUE(ball.abspeed_.isApprox(Eigen::Vector3d(0, 0.2, 0) / 0.2));
}

TEST_F(AbsoluteCoordinateTest, PlayerPartSeenOnceIsAtRestWithoutUncertainty) {
  AbsoluteCoordinate part(AbsoluteCoordinate::OTHER);
  part.abspeed_ = Eigen::Vector3d(3, 3, 3);
  in.see = true;
  part.UpdateGenerate(Eigen::Vector3d(1, -2, 0.3), Eigen::Vector3d(2, 2, 0), In());
  EXPECT_TRUE(part.cod_.isApprox(Eigen::Vector3d(1, 4, -0.3)));
  EXPECT_TRUE(part.abspeed_.isZero());
  EXPECT_TRUE(part.covariance_error_.isZero());
  // Not seen: it only coasts.
  in.see = false;
  part.abspeed_ = Eigen::Vector3d(1, 0, 0);
  part.UpdateGenerate(Eigen::Vector3d(50, 50, 50), Eigen::Vector3d::Zero(), In());
  EXPECT_NEAR(part.cod_.x(), 1 + 0.02 - 0.1 * 0.0002, 1e-12);
}

TEST_F(AbsoluteCoordinateTest, SpeedComesFromVisionMessagesOnly) {
  AbsoluteCoordinate a;
  in.see = true;
  a.CalcAbspeed(1.0, in.see);
  a.cod_ = Eigen::Vector3d(0.3, 0.4, 9);
  a.CalcAbspeed(1.5, in.see);
  EXPECT_DOUBLE_EQ(a.speed_, 1.0);
  EXPECT_DOUBLE_EQ(a.acc_, 2.0);  // speed over the step, as the tactics read it
  // The clock standing still gives no interval: speed and acceleration stay.
  a.cod_ = Eigen::Vector3d(5, 5, 0);
  a.CalcAbspeed(1.5, in.see);
  EXPECT_DOUBLE_EQ(a.speed_, 1.0);
  EXPECT_DOUBLE_EQ(a.acc_, 2.0);
  EXPECT_DOUBLE_EQ(a.before_speed, 1.0);
  in.see = false;
  a.CalcAbspeed(9.0, in.see);
  EXPECT_DOUBLE_EQ(a.before_time_, 1.5);
}

}  // namespace
