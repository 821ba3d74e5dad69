#include "agent/motion_sequence/MotionSequence.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "agent/motion_sequence/StandUpSequence.h"

namespace {

// Joints all at 0 degrees; one cycle's commands by name.
class Body {
 public:
  Body() {
    joints_.reserve(6);
    for (const char* name : {"hj1", "raj1", "laj1", "rlj1", "llj1", "rlj3"}) {
      joints_.emplace_back(180.0, -180.0, Eigen::Vector3d::UnitX());
      joint_[name] = &joints_.back();
    }
  }
  NextJoint Cycle(MotionSequence& s) {
    NextJoint next;
    s.Run(joint_, next);
    return next;
  }

 private:
  std::vector<HingeJoint> joints_;
  Joint joint_;
};

std::string Doc(const std::string& motions) {
  return "<!-- a test --><sequence name=\"t\" refresh=\"True\">" + motions + "</sequence>";
}

TEST(MotionSequenceTest, MovesActInTheirWindowWithTheirLaw) {
  MotionSequence s;
  ASSERT_TRUE(s.ReadDirect(Doc(
      "<motion name=\"a\" time=\"6\">"
      "<move id=\"hj1\" degree=\"10\"/>"                                // defaults: 0.05, all cycles
      "<move id=\"raj1\" degree=\"-20\" speed=\"0.5\" start=\"2\" end=\"4\"/>"
      "<move id=\"laj1\" degree=\"30\" speed=\"2\" type=\"1\"/>"       // constant speed
      "<move id=\"rlj1\" degree=\"30\" type=\"5\"/>"                   // unknown type: proportional
      "<move id=\"llj1\" degree=\"30\" type=\"-1\"/>"                  // negative: nothing
      "<move id=\"nosuchjoint\" degree=\"30\"/>"
      "</motion><motion name=\"rest\" time=\"2\"/>")));
  EXPECT_EQ(s.GetName(), "t");
  EXPECT_FALSE(s.IsRefresh());  // only "true" counts
  Body body;
  for (int t = 0; t < 6; ++t) {
    SCOPED_TRACE(t);
    const NextJoint next = body.Cycle(s);
    EXPECT_NEAR(next.at("hj1"), 0.5, 1e-12);
    const bool window = t >= 2 && t < 4;
    EXPECT_EQ(next.count("raj1"), window ? 1u : 0u);
    if (window) {
      EXPECT_NEAR(next.at("raj1"), -10.0, 1e-12);
    }
    EXPECT_EQ(next.at("laj1"), 2.0);
    EXPECT_NEAR(next.at("rlj1"), 1.5, 1e-12);
    EXPECT_EQ(next.count("llj1"), 0u);
    EXPECT_EQ(next.size(), next.count("raj1") + 3);
  }
  // A motion without moves lasts its time and commands nothing; then the end.
  EXPECT_TRUE(body.Cycle(s).empty());
  EXPECT_FALSE(s.IsEnd());
  EXPECT_TRUE(body.Cycle(s).empty());
  EXPECT_TRUE(s.IsEnd());
  EXPECT_TRUE(body.Cycle(s).empty());
  s.Reset();
  EXPECT_FALSE(s.IsEnd());
  EXPECT_EQ(body.Cycle(s).count("hj1"), 1u);
}

TEST(MotionSequenceTest, ABrokenDocumentLeavesAnEndedEmptySequence) {
  const char* const broken[] = {
      "<sequence name=\"x\"><motion time=\"3\">",                               // does not parse
      "<other/>",                                                               // no sequence
      "<sequence><motion name=\"m\"><move id=\"hj1\" degree=\"1\"/></motion></sequence>",  // no time
      "<sequence><motion time=\"3\"><move degree=\"1\"/></motion></sequence>",  // no id
      "<sequence><motion time=\"3\"><move id=\"hj1\" degree=\"up\"/></motion></sequence>",
      // a fault late in the document: nothing of it is kept
      ("<sequence><motion time=\"3\"><move id=\"hj1\" degree=\"1\"/></motion>"
       "<motion time=\"2\"><move id=\"hj1\"/></motion></sequence>"),
  };
  Body body;
  for (const char* doc : broken) {
    SCOPED_TRACE(doc);
    MotionSequence s;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(s.ReadDirect(doc));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_TRUE(s.GetSequence().empty());
    EXPECT_TRUE(s.IsEnd());
    EXPECT_TRUE(body.Cycle(s).empty());
  }
  // A sequence without motions ends on its first cycle.
  MotionSequence empty;
  ASSERT_TRUE(empty.ReadDirect("<sequence name=\"e\" refresh=\"true\"/>"));
  EXPECT_TRUE(empty.IsRefresh());
  EXPECT_FALSE(empty.IsEnd());
  EXPECT_TRUE(body.Cycle(empty).empty());
  EXPECT_TRUE(empty.IsEnd());
}

TEST(MotionSequenceTest, TheBuiltInStandUpLasts58Cycles) {
  StandUpSequence s;
  EXPECT_EQ(s.GetName(), "stand_up");
  EXPECT_TRUE(s.IsRefresh());
  ASSERT_EQ(s.GetSequence().size(), 5u);
  Body body;
  std::vector<NextJoint> cycles;
  while (!s.IsEnd() && cycles.size() < 100) cycles.push_back(body.Cycle(s));
  ASSERT_EQ(cycles.size(), 58u);
  EXPECT_NEAR(cycles[0].at("raj1"), -9.0, 1e-12);    // -180 at 0.05
  EXPECT_EQ(cycles[0].count("rlj1"), 0u);              // legs rest while the arms go back
  EXPECT_NEAR(cycles[15].at("rlj1"), -3.0, 1e-12);   // -60 in "open_foot2"
  EXPECT_NEAR(cycles[57].at("rlj3"), -6.0, 1e-12);   // -120 in "close_foot"
  EXPECT_EQ(cycles[57].count("raj1"), 0u);
}

}  // namespace
