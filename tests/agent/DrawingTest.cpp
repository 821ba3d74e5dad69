// A player's drawings as RoboViz receives them: the byte layout of each
// command and the datagrams they are packed into.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "../support/UdpListener.h"
#include "agent/BeliefDrawing.h"
#include "agent/DrawingSender.h"
#include "net/Addr.h"

namespace {

using draw::RoboVizCommands;

// The commands of a datagram, a line each: kind, numbers as sent, colour
// bytes, text. Whatever breaks the layout gives a line "bad" and ends it.
std::vector<std::string> Decode(const std::string& d) {
  std::vector<std::string> lines;
  std::size_t p = 0;
  auto take = [&](std::size_t n) {  // past the end: p beyond it
    p += n;
    return p <= d.size() ? d.substr(p - n, n) : std::string();
  };
  auto bytes = [&](std::size_t n, const char* separator) {
    std::string out;
    for (unsigned char c : take(n)) out += std::to_string(c) + separator;
    return out;
  };
  while (p < d.size()) {
    const std::string command = bytes(2, ",");
    const int numbers = command == "1,0," || command == "1,2," || command == "1,3," ? 4 : command == "1,1," ? 7 : 0;
    std::string line = command == "0,0," ? "swap " : command == "2,1," ? "agent " + bytes(1, " ") : "";
    if (numbers > 0) line = std::vector<std::string>{"circle ", "line ", "point ", "sphere "}[command[2] - '0'];
    for (int i = 0; i < numbers; ++i) line += take(RoboVizCommands::kNumberWidth) + " ";
    if (command != "0,0,") line += bytes(3, " ");
    const std::size_t end = d.find('\0', p), length = end - p;
    line += end == std::string::npos ? take(d.size()) : take(length + 1).substr(0, length);
    const bool bad = (numbers == 0 && command != "0,0," && command != "2,1,") || p > d.size();
    lines.push_back(bad ? "bad" : line);
    if (bad) break;
  }
  return lines;
}

draw::Beliefs Believed() {
  draw::Beliefs b;
  b.team = "Alpha";
  b.number = 3;
  b.side = Side::kLeft;
  b.position = Eigen::Vector2d(-12.25, 1.5);
  b.heading = Eigen::Vector2d(0.6, 0.8);
  b.ball = Eigen::Vector2d(0, -3.125);
  b.target = Eigen::Vector2d(10.5, -0.75);
  b.mate = Eigen::Vector2d(-1, 1e5);
  b.behavior = "WALK";
  b.play_mode = "PlayOn";
  return b;
}

TEST(DrawingTest, NumbersAreSixCharactersOfPrintfAndNotFiniteOnesAreLeftOut) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    const char* text;  // null: the shape is left out
  } kCases[] = {
      {1.5, "1.5000"},     {-12.25, "-12.25"}, {0, "0.0000"},         {3.14159, "3.1415"},  // cut, not rounded
      {-0.0004, "-0.000"}, {1e-9, "0.0000"},   {12345.678, "12345."}, {9.9999996, "10.000"},
      {1e12, "99999."},    {-1e300, "-99999"}, {kNaN, nullptr},       {kInf, nullptr},  {-kInf, nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.value);
    RoboVizCommands commands;
    ASSERT_EQ(commands.Circle(Eigen::Vector2d(c.value, 1), 0.5, 2, {1, 2, 3}, {"p.", "s"}), c.text != nullptr);
    ASSERT_EQ(commands.DatagramCount(), c.text != nullptr ? 1u : 0u);
    if (c.text != nullptr) {
      EXPECT_EQ(Decode(std::string(commands.Datagram(0))),
                std::vector<std::string>{"circle " + std::string(c.text) + " 1.0000 0.5000 2.0000 1 2 3 p.s"});
    }
  }
  // printf's text also where its rounding carries into the digits kept.
  char printed[32], ours[RoboVizCommands::kNumberWidth];
  for (int i = -200000; i <= 200000; ++i) {
    for (double v : {i * 0.000731, i * 0.4999999 + 0.49999949}) {
      std::snprintf(printed, sizeof printed, "%6f", std::clamp(v, -RoboVizCommands::kLimit, RoboVizCommands::kLimit));
      ASSERT_TRUE(RoboVizCommands::FormatNumber(v, ours));
      ASSERT_EQ(std::string(printed, 6), std::string(ours, 6)) << v;
    }
  }
}

// One cycle from the real sender, received on a loopback port: every byte
// in its place, the swap last, no datagram over 512 bytes; a long team name
// and play mode spread the commands over datagrams without cutting one (the
// text over the robot is cut to fit).
TEST(DrawingTest, OneCycleArrivesOverUdpInTheViewersLayout) {
  const std::string long_team(170, 'T'), long_mode(600, 'm');
  const char* const kLines[] = {
      "circle -12.25 1.5000 0.2500 3.0000 0 255 255 {P}pose",
      "line -12.25 1.5000 0.0200 -11.95 1.9000 0.0200 3.0000 0 255 255 {P}pose",
      "sphere 0.0000 -3.125 0.0420 0.0420 255 140 0 {P}ball",
      "point 10.500 -0.750 0.0200 6.0000 255 0 255 {P}target",
      "line -12.25 1.5000 0.0200 10.500 -0.750 0.0200 1.5000 255 0 255 {P}target",
      "circle -1.000 99999. 0.4000 3.0000 255 255 0 {P}mate",
      "agent {A}",
      "swap {P}",
  };
  const struct {
    Side side;
    int number;
    bool target_and_mate;
    std::string team, mode, prefix, annotation;
    std::size_t datagrams;
  } kCases[] = {
      {Side::kLeft, 3, true, "Alpha", "PlayOn", "vektorling.Alpha.3.", "2 255 255 255 WALK PlayOn", 1},
      {Side::kRight, 11, false, "Alpha", "PlayOn", "vektorling.Alpha.11.", "138 255 255 255 WALK PlayOn", 1},
      {Side::kLeft, 3, true, long_team, long_mode, "vektorling." + long_team + ".3.",
       "2 255 255 255 WALK " + long_mode.substr(0, 500), 5},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.prefix);
    std::vector<std::string> expected;
    for (std::string line : kLines) {
      if (!c.target_and_mate && (line.find("target") != std::string::npos || line.find("mate") != std::string::npos))
        continue;
      const std::size_t at = line.find('{');
      expected.push_back(line.replace(at, 3, line[at + 1] == 'P' ? c.prefix : c.annotation));
    }
    draw::Beliefs b = Believed();
    b.side = c.side;
    b.number = c.number;
    b.team = c.team;
    b.play_mode = c.mode;
    if (!c.target_and_mate) b.target.reset(), b.mate.reset();
    UdpListener viewer;
    draw::DrawingSender sender(net::Addr(viewer.port(), std::string("127.0.0.1")));
    sender.Send(b);
    std::vector<std::string> lines;
    const std::vector<std::string> datagrams = viewer.Take();
    for (const std::string& d : datagrams) {
      EXPECT_LE(d.size(), RoboVizCommands::kMaxDatagram);
      for (const std::string& line : Decode(d)) lines.push_back(line);
    }
    EXPECT_EQ(datagrams.size(), c.datagrams);
    EXPECT_EQ(lines, expected);
  }
  // A team name too long for any set: only the text, which names none.
  draw::Beliefs b = Believed();
  const std::string endless(600, 'T');
  b.team = endless;
  RoboVizCommands commands;
  draw::DrawBeliefs(b, &commands);
  ASSERT_EQ(commands.DatagramCount(), 1u);
  EXPECT_EQ(Decode(std::string(commands.Datagram(0))), std::vector<std::string>{"agent 2 255 255 255 WALK PlayOn"});
}

}  // namespace
