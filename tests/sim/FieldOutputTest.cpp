// What the practice field leaves behind: the trace, the picture, the summary.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#define BOOST_BIND_GLOBAL_PLACEHOLDERS
#include <boost/property_tree/json_parser.hpp>

#include "../support/ServerText.h"
#include "FieldOptions.h"
#include "Recorder.h"
#include "SvgPlot.h"
#include "Summary.h"
#include "Trace.h"
#include "World.h"

namespace {

// Strict JSON: no NaN, no raw control bytes, no stray text.
bool ValidJson(const std::string& text) {
  std::istringstream in(text);
  boost::property_tree::ptree tree;
  try {
    boost::property_tree::read_json(in, tree);
    return true;
  } catch (const boost::property_tree::json_parser_error&) {
    return false;
  }
}

WorldSnapshot TwoRobots() {
  return {12.34, 7.5, "PlayOn", 2, 1, {1.23456, -2, 0.042}, {-0.5, 0, 0},
          {{"Alpha", 'L', 1, -4, 2, 0.35, 90, false}, {"Beta", 'R', 10, 3, 2, 0.35, 90, true}}};
}

TEST(FieldTraceTest, OneValidJsonLinePerStepWithEveryFieldWhateverTheNames) {
  const std::string path = ::testing::TempDir() + "field_trace_test.jsonl";
  Trace trace;
  std::string error, line;
  ASSERT_TRUE(trace.Open(path, &error)) << error;
  WorldSnapshot odd = TwoRobots();
  odd.robots[0].team = "A\"b\\c\td\x01\xff";
  odd.robots[1].side = '\0';
  odd.ball_pos.x() = std::numeric_limits<double>::quiet_NaN();
  odd.ball_vel.y() = std::numeric_limits<double>::infinity();
  odd.robots[0].heading = -0.00001;
  for (const WorldSnapshot& s : {TwoRobots(), odd, WorldSnapshot()}) trace.Write(s);
  trace.Close();
  std::ifstream in(path);
  std::vector<std::string> lines;
  while (std::getline(in, line)) lines.push_back(line);
  std::remove(path.c_str());
  ASSERT_EQ(3u, lines.size());
  for (const std::string& l : lines) EXPECT_TRUE(ValidJson(l)) << l;
  // The layout of ordinary lines is pinned byte for byte by FieldBytesTest.
  for (const char* field : {"\"A\\\"b\\\\c\\td\\u0001\\u00ff\"", "\"pos\":[null,", "\"heading\":0.000,"}) {
    EXPECT_NE(std::string::npos, lines[1].find(field)) << field << " in " << lines[1];
  }
  EXPECT_FALSE(trace.Open("/nonexistent-dir/trace.jsonl", &error));
  EXPECT_NE(std::string::npos, error.find("/nonexistent-dir/trace.jsonl"));
}

// Everything drawn for one team's robots (their groups in every layer).
std::string RobotGroups(const std::string& svg, const std::string& team) {
  std::string drawn;
  for (std::size_t at = svg.find("data-team=\"" + team); at != std::string::npos; at = svg.find("data-team=\"" + team, at + 1)) {
    drawn += svg.substr(at, svg.find("</g>", at) - at);
  }
  return drawn;
}

TEST(FieldSvgTest, FieldToScaleAndAPathPerRobotWithFallsAndBeams) {
  SvgPlot plot;
  WorldSnapshot s = TwoRobots();
  s.robots[0].team = "<A&B>";
  for (int i = 0; i < 18; ++i) {
    s.robots[0].x = (i < 9 ? -14 : -4) + 0.05 * (i % 9);  // walks, is beamed, walks
    s.robots[1].fallen = (i >= 3 && i < 6) || i >= 12;   // Beta 10 falls twice
    plot.Add(s);
  }
  const std::string svg = plot.Render();
  // 30 px per metre: the 30 x 20 m field, the centre circle of 2 m, goals 2.1 m wide.
  EXPECT_NE(std::string::npos, svg.find("width=\"900.0\" height=\"600.0\""));
  EXPECT_NE(std::string::npos, svg.find("r=\"60.0\""));
  EXPECT_EQ(2, CountOf(svg, "height=\"63.0\" fill=\"#d9d9d9\""));
  EXPECT_NE(std::string::npos, svg.find("&lt;A&amp;B&gt; 2 : 1 Beta"));
  EXPECT_EQ(std::string::npos, svg.find("<A&B>"));
  EXPECT_EQ(CountOf(svg, "<g"), CountOf(svg, "</g>"));
  // Alpha's path is broken by the beam, every 5 cm point kept; Beta stood
  // still: no line, but two falls (a cross of two strokes each).
  const std::string alpha = RobotGroups(svg, "&lt;A&amp;B&gt;"), beta = RobotGroups(svg, "Beta");
  EXPECT_EQ(2, CountOf(alpha, "<polyline"));
  EXPECT_EQ(2 * 9, CountOf(alpha, ","));
  EXPECT_EQ(0, CountOf(alpha, "<path"));
  EXPECT_EQ(0, CountOf(beta, "<polyline"));
  EXPECT_EQ(4, CountOf(beta, "<path"));
}

TEST(FieldSummaryTest, ScoreLineThenAlignedRowForEveryRobotLeftTeamFirst) {
  const std::vector<RobotStats> stats = {{"Beta", 'R', 11, 16.5, 2, 1, 11}, {"ZuluLongName", 'L', 2, 3, 2, 0, 12},
                                         {"ZuluLongName", 'L', 1, 1.5, 1, 1, 7}};
  std::istringstream text(FormatSummary(TwoRobots(), stats));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  ASSERT_EQ(5u, lines.size());
  EXPECT_EQ(0u, lines[0].find("Final score: ZuluLongName 2 : 1 Beta  (game time 7.50 s")) << lines[0];
  const int order[] = {2, 1, 0};
  for (int i = 0; i < 3; ++i) {
    const RobotStats& want = stats[order[i]];
    SCOPED_TRACE(lines[2 + i]);
    EXPECT_EQ(lines[1].size(), lines[2 + i].size());  // every row as wide as the header
    std::istringstream fields(lines[2 + i]);
    RobotStats r;
    std::string side;
    fields >> r.team >> side >> r.unum >> r.distance_walked >> r.falls >> r.standups >> r.ball_touches;
    EXPECT_EQ(std::make_tuple(want.team, want.unum, want.falls, want.standups, want.ball_touches),
              std::make_tuple(r.team, r.unum, r.falls, r.standups, r.ball_touches));
    EXPECT_NEAR(want.distance_walked, r.distance_walked, 0.005);
  }
  EXPECT_EQ(lines[1].find("side"), lines[2].find(" L ") + 1);  // columns under their headings
}

// Progress for a terminal rewrites one line; for a log it is a line of its
// own every 10 simulated seconds, and the end is told once.
TEST(FieldProgressTest, RewrittenLineOrALineEveryTenSeconds) {
  const struct {
    FieldOptions::Progress mode;
    long steps;
    const char* expected;
  } kCases[] = {
      {FieldOptions::Progress::kLines, 1100, "10 s simulated\n20 s simulated\n22.00 s simulated\n"},
      {FieldOptions::Progress::kLines, 1000, "10 s simulated\n20 s simulated\n"},
      {FieldOptions::Progress::kRewrite, 120, "\r1 s simulated\r2 s simulated\r2.40 s simulated\n"},
      {FieldOptions::Progress::kOff, 1100, ""},
  };
  for (const auto& c : kCases) {
    FieldOptions options;
    options.progress = c.mode;
    World world(options.ToWorldConfig());
    Recorder recorder(options, &world);
    ::testing::internal::CaptureStderr();
    for (long i = 0; i < c.steps; ++i) recorder.AfterStep();
    recorder.Finish();
    EXPECT_EQ(c.expected, ::testing::internal::GetCapturedStderr()) << c.steps;
  }
}

}  // namespace
