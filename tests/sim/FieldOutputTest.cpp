// What the practice field leaves behind: the trace, the picture, the summary.

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <regex>
#include <sstream>
#include <string>

#include "SvgPlot.h"
#include "Summary.h"
#include "Trace.h"

namespace {

// A strict JSON reader, just enough to tell whether a line is valid.
class JsonChecker {
public:
  explicit JsonChecker(const std::string& text) : s_(text) {}
  bool Valid() {
    Space();
    if (!Value()) return false;
    Space();
    return i_ == s_.size();
  }

private:
  void Space() {
    while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
  }
  bool Eat(char c) {
    Space();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  bool Word(const char* w) {
    const std::size_t n = std::strlen(w);
    if (s_.compare(i_, n, w) != 0) return false;
    i_ += n;
    return true;
  }
  bool String() {
    if (!Eat('"')) return false;
    while (i_ < s_.size()) {
      const unsigned char c = s_[i_++];
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c == '\\') {
        if (i_ >= s_.size()) return false;
        const char e = s_[i_++];
        if (e == 'u') {
          for (int k = 0; k < 4; ++k) {
            if (i_ >= s_.size() || !std::isxdigit(static_cast<unsigned char>(s_[i_++]))) return false;
          }
        } else if (std::string("\"\\/bfnrt").find(e) == std::string::npos) {
          return false;
        }
      }
    }
    return false;
  }
  bool Number() {
    static const std::regex number("-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][-+]?[0-9]+)?");
    std::size_t end = i_;
    while (end < s_.size() && std::strchr("-+.eE0123456789", s_[end])) ++end;
    if (end == i_ || !std::regex_match(s_.substr(i_, end - i_), number)) return false;
    i_ = end;
    return true;
  }
  bool Value() {
    Space();
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    if (c == '{') {
      ++i_;
      if (Eat('}')) return true;
      do {
        Space();
        if (!String() || !Eat(':') || !Value()) return false;
      } while (Eat(','));
      return Eat('}');
    }
    if (c == '[') {
      ++i_;
      if (Eat(']')) return true;
      do {
        if (!Value()) return false;
      } while (Eat(','));
      return Eat(']');
    }
    if (c == '"') return String();
    if (Word("true") || Word("false") || Word("null")) return true;
    return Number();
  }

  const std::string& s_;
  std::size_t i_ = 0;
};

WorldSnapshot TwoRobots() {
  WorldSnapshot s;
  s.now = 12.34;
  s.game_time = 7.5;
  s.playmode = "PlayOn";
  s.score_left = 2;
  s.score_right = 1;
  s.ball_pos = Eigen::Vector3d(1.23456, -2, 0.042);
  s.ball_vel = Eigen::Vector3d(-0.5, 0, 0);
  RobotSnapshot a;
  a.team = "Alpha";
  a.side = 'L';
  a.unum = 1;
  a.x = -4;
  a.y = 2;
  a.z = 0.35;
  a.heading = 90;
  RobotSnapshot b = a;
  b.team = "Beta";
  b.side = 'R';
  b.unum = 10;
  b.x = 3;
  b.fallen = true;
  s.robots = {a, b};
  return s;
}

TEST(FieldTraceTest, LineIsValidJsonWithEveryField) {
  std::string line;
  Trace::FormatLine(TwoRobots(), &line);
  EXPECT_TRUE(JsonChecker(line).Valid()) << line;
  for (const char* field : {"\"t\":7.500", "\"now\":12.340", "\"pm\":\"PlayOn\"", "\"score\":[2,1]",
                            "\"ball\":{\"pos\":[1.2346,-2.0000,0.0420],\"vel\":[-0.5000,0.0000,0.0000]}",
                            "{\"team\":\"Alpha\",\"side\":\"L\",\"unum\":1,\"pos\":[-4.0000,2.0000,0.3500]",
                            "\"heading\":90.000", "\"fallen\":false", "\"fallen\":true", "\"unum\":10"}) {
    EXPECT_NE(std::string::npos, line.find(field)) << field << " in " << line;
  }
  EXPECT_EQ(std::string::npos, line.find('\n'));
}

TEST(FieldTraceTest, OddNamesAndNumbersStayValidJson) {
  WorldSnapshot s = TwoRobots();
  s.robots[0].team = "A\"b\\c\td\x01\xff";
  s.robots[1].side = '\0';
  s.ball_pos.x() = std::numeric_limits<double>::quiet_NaN();
  s.ball_vel.y() = std::numeric_limits<double>::infinity();
  s.robots[0].heading = -0.00001;
  s.robots.push_back(s.robots[0]);
  std::string line;
  Trace::FormatLine(s, &line);
  EXPECT_TRUE(JsonChecker(line).Valid()) << line;
  EXPECT_NE(std::string::npos, line.find("\"A\\\"b\\\\c\\td\\u0001\\u00ff\"")) << line;
  EXPECT_NE(std::string::npos, line.find("\"pos\":[null,")) << line;
  EXPECT_NE(std::string::npos, line.find("\"heading\":0.000,")) << line;

  WorldSnapshot empty;
  Trace::FormatLine(empty, &line);
  EXPECT_TRUE(JsonChecker(line).Valid()) << line;
  EXPECT_NE(std::string::npos, line.find("\"robots\":[]")) << line;
}

TEST(FieldTraceTest, FileHoldsOneLinePerStep) {
  const std::string path = ::testing::TempDir() + "field_trace_test.jsonl";
  Trace trace;
  std::string error;
  ASSERT_TRUE(trace.Open(path, &error)) << error;
  WorldSnapshot s = TwoRobots();
  for (int step = 0; step < 3; ++step) {
    s.now = step * 0.02;
    trace.Write(s);
  }
  trace.Close();
  std::ifstream in(path);
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) {
    EXPECT_TRUE(JsonChecker(line).Valid()) << line;
    ++lines;
  }
  EXPECT_EQ(3, lines);
  std::remove(path.c_str());

  EXPECT_FALSE(trace.Open("/nonexistent-dir/trace.jsonl", &error));
  EXPECT_NE(std::string::npos, error.find("/nonexistent-dir/trace.jsonl"));
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

// Everything drawn for one robot (its groups in every layer).
std::string RobotGroup(const std::string& svg, const std::string& team, int unum) {
  const std::string head = "data-team=\"" + team + "\" data-unum=\"" + std::to_string(unum) + "\"";
  std::string drawn;
  for (std::size_t start = svg.find(head); start != std::string::npos; start = svg.find(head, start + 1)) {
    drawn += svg.substr(start, svg.find("</g>", start) - start);
  }
  return drawn;
}

TEST(FieldSvgTest, FieldDrawnToScaleWithLegend) {
  SvgPlot plot;
  WorldSnapshot s = TwoRobots();
  plot.Add(s);
  const std::string svg = plot.Render();
  EXPECT_EQ(0u, svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""));
  EXPECT_NE(std::string::npos, svg.rfind("</svg>"));
  // 30 px per metre: the 30 x 20 m field and the centre circle of 2 m.
  EXPECT_NE(std::string::npos, svg.find("width=\"900.0\" height=\"600.0\""));
  EXPECT_NE(std::string::npos, svg.find("r=\"60.0\""));
  // Goals 2.1 m wide (63 px) behind both goal lines.
  EXPECT_EQ(2, Count(svg, "height=\"63.0\" fill=\"#d9d9d9\""));
  EXPECT_NE(std::string::npos, svg.find("Alpha 2 : 1 Beta"));
  EXPECT_NE(std::string::npos, svg.find("game time 7.5 s, 12.3 s simulated"));
  EXPECT_EQ(Count(svg, "<g"), Count(svg, "</g>"));
}

TEST(FieldSvgTest, PathPerRobotWithFallsAndFinalNumber) {
  SvgPlot plot;
  WorldSnapshot s = TwoRobots();
  s.robots[1].fallen = false;
  for (int i = 0; i < 20; ++i) {
    s.robots[0].x = -4 + 0.05 * i;                // Alpha 1 walks
    s.robots[1].fallen = (i >= 5 && i < 10) || i >= 15;  // Beta 10 falls twice
    s.ball_pos.x() = 0.1 * i;
    plot.Add(s);
  }
  const std::string svg = plot.Render();
  const std::string alpha = RobotGroup(svg, "Alpha", 1);
  const std::string beta = RobotGroup(svg, "Beta", 10);
  ASSERT_FALSE(alpha.empty());
  ASSERT_FALSE(beta.empty());
  EXPECT_EQ(1, Count(alpha, "<polyline"));
  const std::string points = alpha.substr(alpha.find("points=\""), alpha.find("\"/>") - alpha.find("points=\""));
  EXPECT_EQ(20, Count(points, ","));  // every 5 cm point kept
  EXPECT_NE(std::string::npos, alpha.find(">1</text>"));
  EXPECT_EQ(0, Count(alpha, "<path"));
  // Beta stood still: no line, but two falls (a cross of two strokes each) and its number.
  EXPECT_EQ(0, Count(beta, "<polyline"));
  EXPECT_EQ(4, Count(beta, "<path"));
  EXPECT_NE(std::string::npos, beta.find(">10</text>"));
  EXPECT_NE(std::string::npos, svg.find("stroke-dasharray=\"7 5\" points="));  // the ball's path
  // Different colours for the two teams.
  EXPECT_NE(std::string::npos, alpha.find("#1f5bff"));
  EXPECT_NE(std::string::npos, beta.find("#e3262f"));
}

TEST(FieldSvgTest, BeamStartsANewPieceAndNamesAreEscaped) {
  SvgPlot plot;
  WorldSnapshot s = TwoRobots();
  s.robots.resize(1);
  s.robots[0].team = "<A&B>";
  const double xs[] = {-14, -13.9, -13.8, -4, -3.9, -3.8};  // spawn, walk, beam, walk
  for (double x : xs) {
    s.robots[0].x = x;
    plot.Add(s);
  }
  const std::string svg = plot.Render();
  EXPECT_EQ(std::string::npos, svg.find("<A&B>"));
  const std::string group = RobotGroup(svg, "&lt;A&amp;B&gt;", 1);
  ASSERT_FALSE(group.empty());
  EXPECT_EQ(2, Count(group, "<polyline"));
  EXPECT_NE(std::string::npos, svg.find("&lt;A&amp;B&gt; 2 : 1"));
}

TEST(FieldSvgTest, WritesFileOrSaysWhy) {
  SvgPlot plot;
  const std::string path = ::testing::TempDir() + "field_svg_test.svg";
  std::string error;
  ASSERT_TRUE(plot.Write(path, &error)) << error;
  std::ifstream in(path);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(plot.Render(), content.str());
  std::remove(path.c_str());
  EXPECT_FALSE(plot.Write("/nonexistent-dir/x.svg", &error));
  EXPECT_NE(std::string::npos, error.find("/nonexistent-dir/x.svg"));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(FieldSummaryTest, ScoreLineThenAlignedRowForEveryRobot) {
  std::vector<RobotStats> stats;
  const char* teams[] = {"Beta", "AlphaLongName"};
  for (int t = 0; t < 2; ++t) {
    for (int unum : {11, 2, 1}) {
      RobotStats r;
      r.team = teams[t];
      r.side = t == 0 ? 'R' : 'L';
      r.unum = unum;
      r.distance_walked = unum * 1.5;
      r.falls = unum % 3;
      r.standups = unum % 2;
      r.ball_touches = t * 10 + unum;
      stats.push_back(r);
    }
  }
  const std::string text = FormatSummary(TwoRobots(), stats);
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(1u + 1u + 6u, lines.size()) << text;
  EXPECT_EQ(0u, lines[0].find("Final score: AlphaLongName 2 : 1 Beta")) << lines[0];
  EXPECT_NE(std::string::npos, lines[0].find("game time 7.50 s")) << lines[0];
  // Left team first, by number; every row as wide as the header.
  const char* order[] = {"AlphaLongName", "AlphaLongName", "AlphaLongName", "Beta", "Beta", "Beta"};
  const int numbers[] = {1, 2, 11, 1, 2, 11};
  for (int i = 0; i < 6; ++i) {
    const std::string& row = lines[2 + i];
    EXPECT_EQ(lines[1].size(), row.size()) << row;
    EXPECT_EQ(0u, row.find(order[i])) << row;
    std::istringstream fields(row);
    std::string team, side;
    int unum = 0, falls = 0, standups = 0, touches = 0;
    double walked = 0;
    fields >> team >> side >> unum >> walked >> falls >> standups >> touches;
    EXPECT_EQ(numbers[i], unum) << row;
    EXPECT_NEAR(numbers[i] * 1.5, walked, 0.005) << row;
    EXPECT_EQ(numbers[i] % 3, falls) << row;
    EXPECT_EQ(numbers[i] % 2, standups) << row;
    EXPECT_EQ((i < 3 ? 10 : 0) + numbers[i], touches) << row;
  }
  // Columns line up under their headings.
  EXPECT_EQ(lines[1].find("side"), lines[2].find(" L ") + 1);
}

TEST(FieldSummaryTest, EmptyMatchAndMissingTeam) {
  WorldSnapshot s;
  const std::string text = FormatSummary(s, {});
  EXPECT_NE(std::string::npos, text.find("Final score: (no team) 0 : 0 (no team)"));
  EXPECT_NE(std::string::npos, text.find("No robot took part."));
}

}  // namespace
