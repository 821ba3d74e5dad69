// The real player binary against the practice field in synchronous mode.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "FieldServer.h"
#include "Recorder.h"
#include "RobotBody.h"
#include "World.h"
#include "../support/PlayerProcess.h"

namespace {

// The field of these tests: synchronous, quiet, on ports the system chooses.
FieldOptions TestField() {
  FieldOptions options;
  options.port = options.trainer_port = 0;
  options.sync = options.quiet = true;
  return options;
}

// Plays a match with the given players of one team (number, extra
// option) until the field ends it; the clock waits for all of them to join.
// Every player must leave on its own, cleanly, once the field has closed.
void Play(const FieldOptions& options, World& world, const std::string& team,
          const std::vector<std::pair<int, std::string>>& players) {
  FieldOptions held = options;
  held.players = static_cast<int>(players.size());
  FieldServer server(held, &world);
  Recorder recorder(held, &world);
  std::string error;
  ASSERT_TRUE(server.Open(&error) && recorder.Open(&error)) << error;
  server.OnStep([&recorder] { recorder.AfterStep(); });
  std::vector<pid_t> pids;
  for (const auto& p : players) {
    std::vector<std::string> args = {"--host=127.0.0.1", "--port=" + std::to_string(server.PlayerPort()),
                                     "--team=" + team, "--num=" + std::to_string(p.first), "--syn=1"};
    if (!p.second.empty()) args.push_back(p.second);
    pids.push_back(StartPlayer(args));
    ASSERT_GT(pids.back(), 0);
  }
  server.Run();
  recorder.Finish();
  for (pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
}

TEST(EndToEndTest, PlayersAreBeamedToTheirStartsAndTakeTheDefaultPosture) {
  FieldOptions options = TestField();
  options.noise = false;
  options.duration = 4.0;  // no kick-off: nobody walks
  World world(options.ToWorldConfig());
  ASSERT_NO_FATAL_FAILURE(Play(options, world, "EndToEnd", {{2, ""}, {7, ""}}));

  const WorldSnapshot end = world.Snapshot();
  EXPECT_EQ(end.playmode, "GameOver");
  EXPECT_EQ(end.game_time, 0.0);
  ASSERT_EQ(end.robots.size(), 2u);
  // Default posture, in effector order (head joints free).
  const double posture[22] = {0, 0, -100, 20, -90, 0, -100, -20, 90, 0, 0, 0, 15, -60, 45, 0, 0, 0, 15, -60, 45, 0};
  for (const RobotSnapshot& r : end.robots) {
    SCOPED_TRACE(r.unum);
    EXPECT_EQ(r.side, 'L');
    EXPECT_FALSE(r.fallen);
    // Without noise the beam lands exactly where the player asked; standing
    // in place since then, the robot has not moved by more than a few cm.
    EXPECT_NEAR(r.x, r.unum == 2 ? -12.5 : -5.0, 0.05);
    EXPECT_NEAR(r.y, 0.5, 0.05);
    EXPECT_NEAR(r.heading, 0.0, 2.0);
    for (int j = 2; j < RobotBody::kJointNum; ++j) {
      EXPECT_NEAR(r.joints[j], posture[j], 0.5) << RobotBody::kJoints[j].perceptor;
    }
  }
}

// Game time, play mode, behaviour and stand-up stage of each line of a
// player's trace.
struct TraceLine {
  double t;
  std::string pm, beh, standup;
};
std::vector<TraceLine> ReadPlayerTrace(const std::string& path) {
  std::vector<TraceLine> lines;
  std::ifstream in(path);
  auto text = [](const std::string& line, const std::string& key) {  // of "key":"...", or ""
    const std::string k = "\"" + key + "\":\"";
    const size_t b = line.find(k) == std::string::npos ? line.size() : line.find(k) + k.size();
    return line.substr(b, line.find('"', b) - b);
  };
  for (std::string line; std::getline(in, line);) {
    lines.push_back({std::strtod(line.c_str() + line.find("\"t\":") + 4, nullptr), text(line, "pm"), text(line, "beh"),
                     text(line, "standup")});
  }
  return lines;
}

TEST(EndToEndTest, PushedPlayersGetUpEitherWayAndWalkOn) {
  // Two walking players and six random pushes, forwards and backwards.
  const std::string dir = testing::TempDir();
  FieldOptions options = TestField();
  options.noise = false;
  options.seed = 2;
  options.kickoff_after = 1.0;
  options.duration = 40.0;
  options.pushes = 6;
  World world(options.ToWorldConfig());
  const std::string traces[] = {dir + "/pushed-4.jsonl", dir + "/pushed-6.jsonl"};
  ASSERT_NO_FATAL_FAILURE(
      Play(options, world, "Push", {{4, "--trace=" + traces[0]}, {6, "--trace=" + traces[1]}}));

  int falls = 0, standups = 0;
  for (const RobotStats& s : world.Stats()) {
    falls += s.falls;
    standups += s.standups;
  }
  EXPECT_EQ(falls, 6);
  EXPECT_EQ(standups, 6);

  // Each stand-up of the players: from the fall noticed to walking again.
  std::map<std::string, int> ways;
  for (const std::string& path : traces) {
    const std::vector<TraceLine> lines = ReadPlayerTrace(path);
    for (size_t i = 1; i < lines.size(); ++i) {
      if (lines[i].beh != "STANDUP" || lines[i - 1].beh == "STANDUP") continue;
      std::string way;
      size_t j = i;
      for (; j < lines.size() && lines[j].beh != "WALK"; ++j) {
        if (lines[j].standup == "UP1" || lines[j].standup == "DOWN1") way = lines[j].standup;
      }
      ASSERT_LT(j, lines.size()) << path << " never walks again after " << lines[i].t;
      EXPECT_LT(lines[j].t - lines[i].t, 5.0) << path << ": fell at " << lines[i].t << ", got up by " << way;
      ++ways[way];
    }
  }
  EXPECT_GT(ways["UP1"], 0);
  EXPECT_GT(ways["DOWN1"], 0);
}

TEST(EndToEndTest, NumberNineStrikesAtItsKickOffAndThenWalks) {
  const std::string trace = testing::TempDir() + "/kickoff-9.jsonl";
  FieldOptions options = TestField();
  options.noise = false;
  options.kickoff_after = 0.5;
  options.duration = 10.0;
  World world(options.ToWorldConfig());
  ASSERT_NO_FATAL_FAILURE(Play(options, world, "Nine", {{9, "--trace=" + trace}}));

  // Play starts when the strike touches the ball, 138 cycles after the
  // script began (not by the field's own 5 s limit); then the player walks.
  double kickoff = -1, play_on = -1, walking = -1;
  for (const TraceLine& l : ReadPlayerTrace(trace)) {
    if (kickoff < 0 && l.pm == "KickOff_Left") kickoff = l.t;
    if (play_on < 0 && l.pm == "PlayOn") play_on = l.t;
    if (kickoff >= 0 && play_on < 0) {
      EXPECT_EQ(l.beh, "KICKOFF") << l.t;
    }
    if (walking < 0 && play_on >= 0 && l.beh == "WALK") walking = l.t;
  }
  ASSERT_GE(kickoff, 0);
  ASSERT_GT(play_on, 0);
  EXPECT_GT(play_on - kickoff, 138 * 0.02);
  EXPECT_LT(play_on - kickoff, 4.0);
  EXPECT_GT(walking, play_on);
  EXPECT_LT(walking - play_on, 1.0);
  const std::vector<RobotStats> stats = world.Stats();
  ASSERT_EQ(stats.size(), 1u);
  EXPECT_GT(stats[0].ball_touches, 0);
  EXPECT_EQ(stats[0].falls, 0);
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(EndToEndTest, TheSameSeedAndPlayersGiveTheSameFieldTraceWhicheverOrderTheyJoinIn) {
  // The same match twice, with noise and pushes, the second time with the
  // players started in the reverse order; the clock waits for all three.
  // (What each player believes may differ: a player seeds the direction of
  // its head sweep with the time.)
  const std::string trace = testing::TempDir() + "/same-field-";
  std::vector<std::pair<int, std::string>> players = {{2, ""}, {6, ""}, {9, ""}};
  FieldOptions options = TestField();
  options.seed = 3;
  options.kickoff_after = 0.5;
  options.duration = 10.0;
  options.pushes = 2;
  for (const char* run : {"a", "b"}) {
    options.trace_file = trace + run;
    World world(options.ToWorldConfig());
    ASSERT_NO_FATAL_FAILURE(Play(options, world, "Same", players));
    std::reverse(players.begin(), players.end());
  }
  const std::string a = Slurp(trace + "a"), b = Slurp(trace + "b");
  EXPECT_EQ(500, std::count(a.begin(), a.end(), '\n'));
  const auto split = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  EXPECT_TRUE(split.first == a.end() && split.second == b.end())
      << "from line " << 1 + std::count(a.begin(), split.first, '\n') << ":\n"
      << std::string(split.first, split.first + std::min<long>(300, a.end() - split.first));
}

}  // namespace
