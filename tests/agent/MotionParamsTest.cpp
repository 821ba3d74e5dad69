// Parameter files: every key reads back what was written; a bad file
// changes nothing and names its file, line and key.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "agent/MotionParams.h"

namespace {

std::string Written(const MotionParams& p) {
  std::ostringstream out;
  WriteMotionParams(p, out);
  return out.str();
}

std::string TempFile(const std::string& name, const std::string& text) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path) << text;
  return path;
}

// Each key set to a value 37 % of the way into its range (whole numbers
// for ranges of 1 and more, which every whole-number key has).
TEST(MotionParamsTest, EveryKeyReadsBackWhatTheFileSays) {
  std::ostringstream keys;
  DescribeMotionParams(keys);
  const std::regex line(R"(^(\S+)  \[(\S+) \.\. (\S+)\]  .*)");
  std::string file;
  int count = 0;
  std::istringstream in(keys.str());
  for (std::string l; std::getline(in, l);) {
    std::smatch m;
    if (!std::regex_match(l, m, line)) continue;
    const double lo = std::stod(m[2]), hi = std::stod(m[3]);
    const double v = hi - lo >= 1 ? std::ceil(lo + (hi - lo) * 0.37) : lo + (hi - lo) * 0.37;
    char number[40];
    std::snprintf(number, sizeof number, "%.17g", v);
    file += m[1].str() + " = " + number + "\n";
    ++count;
  }
  EXPECT_EQ(count, 90);  // every key but the document file
  MotionParams params;
  std::string error;
  ASSERT_TRUE(LoadMotionParams(TempFile("all.params", file), &params, &error)) << error;
  EXPECT_EQ(Written(params), file);
  EXPECT_EQ(params.walk.turn_yaw, -23.0);  // -90 + 180 * 0.37, rounded up
  EXPECT_EQ(params.stand_up.settled_on_feet, 370);
  EXPECT_TRUE(params.behavior.walk_restart_from_zero);
  EXPECT_FLOAT_EQ(params.stand_up.fall_acceleration, 370.0f);
}

TEST(MotionParamsTest, ABadFileChangesNothingAndSaysWhereAndWhy) {
  const std::string dir = ::testing::TempDir();
  TempFile("broken.xml", "<sequence><motion name=\"m\"></motion></sequence>");
  const struct {
    const char* name;
    std::string text;  // null: no file
    std::string error;  // after "PATH"
  } kCases[] = {
      {"unknown.params", "walk.max_speed = 0.5\nwalk.maxspeed = 0.5\n", ":2: walk.maxspeed: unknown key"},
      {"range.params", "# lean\n\nwalk.hip_pitch_offset = -31\n", ":3: walk.hip_pitch_offset: -31 is outside -30 .. 30"},
      {"nan.params", "walk.pitch_gain = fast\n", ":1: walk.pitch_gain: 'fast' is not a number"},
      {"inf.params", "walk.pitch_gain = inf\n", ":1: walk.pitch_gain: 'inf' is not a finite number"},
      {"tail.params", "walk.pitch_gain = 0.3x\n", ":1: walk.pitch_gain: '0.3x' is not a number"},
      {"whole.params", "kick.set_cycles = 2.5\n", ":1: kick.set_cycles: '2.5' is not a whole number"},
      {"flag.params", "behavior.walk_restart_from_zero = 2\n", ":1: behavior.walk_restart_from_zero: 2 is outside 0 .. 1"},
      {"twice.params", "walk.roll_gain = 0.1\nwalk.roll_gain = 0.2\n", ":2: walk.roll_gain: given twice (also on line 1)"},
      {"noeq.params", "walk.roll_gain 0.1\n", ":1: 'walk.roll_gain 0.1' is not \"key = value\""},
      {"empty.params", "", ": no parameters in the file"},
      {"comments.params", "# nothing but this\n", ": no parameters in the file"},
      {"seq.params", "stand_up.back_sequence_file = broken.xml\n",
       ":1: stand_up.back_sequence_file: " + dir + "broken.xml: motion 1 (\"m\") lacks a whole number \"time\""},
      {"noseq.params", "stand_up.back_sequence_file = none.xml\n",
       ":1: stand_up.back_sequence_file: cannot read " + dir + "none.xml: No such file or directory"},
  };
  const MotionParams defaults;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string path = TempFile(c.name, c.text);
    MotionParams params;
    std::string error;
    EXPECT_FALSE(LoadMotionParams(path, &params, &error));
    EXPECT_EQ(error, path + c.error);
    EXPECT_EQ(Written(params), Written(defaults));
  }
  MotionParams params;
  std::string error;
  EXPECT_FALSE(LoadMotionParams(dir + "missing.params", &params, &error));
  EXPECT_EQ(error, dir + "missing.params: cannot read: No such file or directory");
}

// Only the named keys change; a document beside the file replaces the
// stand-up's own.
TEST(MotionParamsTest, OnlyTheNamedKeysChange) {
  const std::string seq = "<sequence name=\"up\"><motion name=\"m\" time=\"3\"><move id=\"rlj3\" degree=\"10\"/></motion></sequence>";
  TempFile("up.xml", seq);
  const std::string path = TempFile("some.params", "walk.max_speed = 0.5 # slower\n  kick.fire_cycles=9\nstand_up.back_sequence_file = up.xml\n");
  MotionParams params;
  std::string error;
  ASSERT_TRUE(LoadMotionParams(path, &params, &error)) << error;
  MotionParams expected;
  expected.walk.max_speed = 0.5;
  expected.kick.fire_cycles = 9;
  EXPECT_EQ(Written(params), Written(expected));
  EXPECT_EQ(params.stand_up.back_sequence, seq);
}

}  // namespace
