// The real player binary against the practice field in synchronous mode.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "FieldServer.h"
#include "Recorder.h"
#include "RobotBody.h"
#include "World.h"

extern char** environ;

namespace {

pid_t StartPlayer(int port, const std::string& team, int num, const std::string& extra = "") {
  const std::string path = VEKTORLING_BINARY_DIR "/vektorling";
  std::vector<std::string> args = {path, "--host=127.0.0.1", "--port=" + std::to_string(port),
                                   "--team=" + team, "--num=" + std::to_string(num), "--syn=1"};
  if (!extra.empty()) args.push_back(extra);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

// The field of these tests: synchronous, quiet, on ports the system chooses.
FieldOptions TestField() {
  FieldOptions options;
  options.port = 0;
  options.trainer_port = 0;
  options.sync = true;
  options.quiet = true;
  return options;
}

// Plays a match with the given players of one team (number, extra
// option), until they have left. The clock waits for all of them to join.
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
    pids.push_back(StartPlayer(server.PlayerPort(), team, p.first, p.second));
    ASSERT_GT(pids.back(), 0);
  }
  server.Run();
  recorder.Finish();
  for (pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
  }
}

TEST(EndToEndTest, PlayerIsBeamedToItsStartAndTakesItsDefaultPosture) {
  FieldOptions options = TestField();
  options.noise = false;
  options.duration = 4.0;  // no kick-off: nobody walks
  options.players = 2;
  World world(options.ToWorldConfig());
  FieldServer server(options, &world);
  std::string error;
  ASSERT_TRUE(server.Open(&error)) << error;

  // Two players of one team: both start positions are checked.
  const pid_t p2 = StartPlayer(server.PlayerPort(), "EndToEnd", 2);
  const pid_t p7 = StartPlayer(server.PlayerPort(), "EndToEnd", 7);
  ASSERT_GT(p2, 0);
  ASSERT_GT(p7, 0);
  std::thread field([&] { server.Run(); });
  field.join();

  // At the end of the match the field closes the connections: the players
  // leave on their own, cleanly.
  for (pid_t pid : {p2, p7}) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }

  const WorldSnapshot end = world.Snapshot();
  EXPECT_EQ(end.playmode, "GameOver");
  EXPECT_EQ(end.game_time, 0.0);
  ASSERT_EQ(end.robots.size(), 2u);
  // Default posture, in effector order (head joints free).
  const double posture[22] = {0,   0,   -100, 20, -90, 0, -100, -20, 90, 0, 0,
                              0,   15,  -60,  45, 0,   0, 0,    15,  -60, 45, 0};
  for (const RobotSnapshot& r : end.robots) {
    SCOPED_TRACE(r.unum);
    EXPECT_EQ(r.team, "EndToEnd");
    EXPECT_EQ(r.side, 'L');
    EXPECT_FALSE(r.fallen);
    // Without noise the beam lands exactly where the player asked; standing
    // in place since then, the robot has not moved by more than a few cm.
    const double x = r.unum == 2 ? -12.5 : -5.0;
    const double y = 0.5;
    EXPECT_NEAR(r.x, x, 0.05);
    EXPECT_NEAR(r.y, y, 0.05);
    EXPECT_NEAR(r.heading, 0.0, 2.0);
    for (int j = 2; j < RobotBody::kJointNum; ++j) {
      EXPECT_NEAR(r.joints[j], posture[j], 0.5) << RobotBody::kJoints[j].perceptor;
    }
  }
}

// The number behind "key": in text, searching from `from`; NaN when absent.
double NumberAfter(const std::string& text, const std::string& key, size_t from = 0) {
  const size_t p = text.find(key, from);
  if (p == std::string::npos) return NAN;
  return std::strtod(text.c_str() + p + key.size(), nullptr);
}

// The three numbers of the array behind "key":[.
Eigen::Vector3d ArrayAfter(const std::string& text, const std::string& key, size_t from = 0) {
  const size_t p = text.find(key, from);
  Eigen::Vector3d v = Eigen::Vector3d::Constant(NAN);
  if (p == std::string::npos) return v;
  const char* c = text.c_str() + p + key.size();
  for (int i = 0; i < 3; ++i) {
    char* end = nullptr;
    v(i) = std::strtod(c, &end);
    c = end + 1;  // past the comma
  }
  return v;
}

long Hundredths(double t) { return std::lround(t * 100); }

// The player's believed position against the field's truth (by game time in
// hundredths), for each line of its trace that has a truth.
struct BeliefErrors {
  std::vector<double> error;
  std::vector<std::string> line;
  double Mean() const {
    double sum = 0;
    for (double e : error) sum += e;
    return error.empty() ? 0.0 : sum / error.size();
  }
  double Worst() const {
    double w = 0;
    for (double e : error) w = std::max(w, e);
    return w;
  }
};
BeliefErrors CompareBelief(const std::string& player_trace, const std::map<long, Eigen::Vector3d>& truth) {
  BeliefErrors b;
  std::ifstream pt(player_trace);
  for (std::string line; std::getline(pt, line);) {
    const auto it = truth.find(Hundredths(NumberAfter(line, "\"t\":")));
    if (it == truth.end()) continue;
    // Left side: field x = -server y, field y = -server x.
    const Eigen::Vector2d real(-it->second.y(), -it->second.x());
    b.error.push_back((ArrayAfter(line, "\"pos\":[").head<2>() - real).norm());
    b.line.push_back(line);
  }
  return b;
}

TEST(EndToEndTest, AWalkingPlayerKnowsWhereItIsAndKeepsTheBallInView) {
  // A minute on the field with its noise on (the beam turns the robot by up
  // to 5 degrees), walking after each kick-off from its goal towards the
  // ball at the centre, which it does not reach in a half;
  // the player writes what it believes, the field what is true.
  const std::string dir = testing::TempDir();
  const std::string field_trace = dir + "/localisation-field.jsonl";
  const std::string player_trace = dir + "/localisation-player.jsonl";
  FieldOptions options = TestField();
  options.seed = 7;
  options.kickoff_after = 1.0;
  options.duration = 62.0;
  options.trace_file = field_trace;
  World world(options.ToWorldConfig());
  ASSERT_NO_FATAL_FAILURE(Play(options, world, "Loc", {{1, "--trace=" + player_trace}}));

  // Where the robot truly was at each game time. A beam (at half time the
  // robot is placed anew) restarts the estimate's settling: three seconds
  // of play are given to it each time.
  std::map<long, Eigen::Vector3d> truth;
  std::ifstream ft(field_trace);
  Eigen::Vector3d last = Eigen::Vector3d::Zero();
  double settled_from = 3.0;
  for (std::string line; std::getline(ft, line);) {
    const size_t robots = line.find("\"robots\"");
    if (robots == std::string::npos) continue;
    const double t = NumberAfter(line, "\"t\":");
    const Eigen::Vector3d pos = ArrayAfter(line, "\"pos\":[", robots);
    if ((pos - last).head<2>().norm() > 0.1) settled_from = t + 3.0;
    last = pos;
    if (line.find("\"pm\":\"BeforeKickOff\"") != std::string::npos || t < settled_from) continue;
    truth[Hundredths(t)] = pos;
  }
  ASSERT_GT(truth.size(), 2000u);

  const BeliefErrors b = CompareBelief(player_trace, truth);
  const int n = static_cast<int>(b.error.size());
  int ball_seen = 0, within = 0;
  for (int i = 0; i < n; ++i) {
    // Close to the ball the head looks down at it, and the landmarks' planar
    // bearings from a tilted camera err by a few degrees.
    EXPECT_LT(b.error[i], 0.75) << b.line[i];
    within += b.error[i] < 0.5;
    ball_seen += b.line[i].find("\"ball_seen\":true") != std::string::npos;
  }
  ASSERT_GT(n, 2000);
  std::cout << "practice field, a minute of walking with noise (" << n << " settled cycles): mean error "
            << b.Mean() << " m, worst " << b.Worst() << " m, within 0.5 m in " << 100 * within / n
            << " %; ball in view in " << 100 * ball_seen / n << " %" << std::endl;
  EXPECT_GT(ball_seen, 0.8 * n);
  EXPECT_GT(within, 0.95 * n);
  EXPECT_LT(b.Mean(), 0.25);
}

TEST(EndToEndTest, AfterTheKickOffAPlayerWalksAheadAsItsStepsImplyAndKnowsWhereItIs) {
  // A first half of ten seconds without noise: the player walks straight
  // ahead at full speed from its start at (-10, 2). The match ends soon after
  // the second kick-off.
  const std::string dir = testing::TempDir();
  const std::string field_trace = dir + "/walking-field.jsonl";
  const std::string player_trace = dir + "/walking-player.jsonl";
  FieldOptions options = TestField();
  options.noise = false;
  options.kickoff_after = 0.5;
  options.duration = 21.0;
  options.trace_file = field_trace;
  World world(options.ToWorldConfig());
  ASSERT_NO_FATAL_FAILURE(Play(options, world, "Walk", {{4, "--trace=" + player_trace}}));

  // The field's truth during the first half; the player's estimate is
  // given 2.5 s to settle from where it starts.
  std::map<long, Eigen::Vector3d> truth;
  std::string half_time;
  std::ifstream ft(field_trace);
  for (std::string line; std::getline(ft, line);) {
    const size_t robots = line.find("\"robots\"");
    if (robots == std::string::npos) continue;
    if (!half_time.empty() && line.find("\"pm\":\"BeforeKickOff\"") != std::string::npos) break;
    const double t = NumberAfter(line, "\"t\":");
    if (t <= 0.0) continue;
    half_time = line;
    if (t >= 2.5) truth[Hundredths(t)] = ArrayAfter(line, "\"pos\":[", robots);
  }
  ASSERT_GT(truth.size(), 350u);
  const std::vector<RobotStats> stats = world.Stats();
  ASSERT_EQ(stats.size(), 1u);
  EXPECT_EQ(stats[0].falls, 0);

  // Straight ahead, as far as the footprints advanced (the feet do not
  // slide), at one step per half cycle of the foot trajectory (three
  // messages).
  const Eigen::Vector3d end = ArrayAfter(half_time, "\"pos\":[", half_time.find("\"robots\""));
  const double steps = NumberAfter(half_time, "\"steps\":");
  const double stride = NumberAfter(half_time, "\"stride\":");
  const double ahead = end.x() + 10.0;
  EXPECT_GT(ahead, 2.5);
  EXPECT_NEAR(end.y(), 2.0, 0.1 * ahead);
  EXPECT_NEAR(ahead, stride, 0.2 * stride);
  EXPECT_NEAR(steps, 10.0 / 0.06, 0.2 * 10.0 / 0.06);

  // The player's belief follows the truth.
  const BeliefErrors b = CompareBelief(player_trace, truth);
  ASSERT_GT(b.error.size(), 350u);
  std::cout << "walking 10 s: " << ahead << " m ahead in " << steps << " steps, footprints "
            << stride << " m; position error mean " << b.Mean() << " m, worst " << b.Worst() << " m"
            << std::endl;
  EXPECT_LT(b.Mean(), 0.3);
  EXPECT_LT(b.Worst(), 0.5);
}

// Behaviour and stand-up stage of each line of a player's trace, by game time.
struct TraceLine {
  double t;
  std::string pm, beh, standup;
};
std::vector<TraceLine> ReadPlayerTrace(const std::string& path) {
  std::vector<TraceLine> lines;
  std::ifstream in(path);
  auto text = [](const std::string& line, const std::string& key) {
    const size_t p = line.find(key);
    if (p == std::string::npos) return std::string();
    const size_t b = p + key.size();
    return line.substr(b, line.find('"', b) - b);
  };
  for (std::string line; std::getline(in, line);) {
    lines.push_back({NumberAfter(line, "\"t\":"), text(line, "\"pm\":\""), text(line, "\"beh\":\""),
                     text(line, "\"standup\":\"")});
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
      const double took = lines[j].t - lines[i].t;
      std::cout << path << ": fell at " << lines[i].t << ", got up by " << way << ", walking after "
                << took << " s" << std::endl;
      EXPECT_LT(took, 5.0);
      ++ways[way];
    }
  }
  EXPECT_GT(ways["UP1"], 0);
  EXPECT_GT(ways["DOWN1"], 0);
}

TEST(EndToEndTest, TeammatesHearEachOtherAndElectTheSamePlayerForTheBall) {
  // Two teams of three on the field; each team must read only its own.
  const std::string dir = testing::TempDir();
  FieldOptions options = TestField();
  options.noise = false;
  options.kickoff_after = 0.5;
  options.duration = 25.0;
  options.players = 6;
  World world(options.ToWorldConfig());
  FieldServer server(options, &world);
  std::string error;
  ASSERT_TRUE(server.Open(&error)) << error;
  const int numbers[] = {2, 4, 6};
  std::vector<pid_t> pids;
  std::map<std::string, std::vector<std::string>> traces;
  for (const std::string team : {"Reds", "Blues"}) {
    for (int n : numbers) {
      const std::string trace = dir + "/talk-" + team + "-" + std::to_string(n) + ".jsonl";
      traces[team].push_back(trace);
      pids.push_back(StartPlayer(server.PlayerPort(), team, n, "--trace=" + trace));
      ASSERT_GT(pids.back(), 0);
    }
  }
  server.Run();
  for (pid_t pid : pids) waitpid(pid, nullptr, 0);

  for (const auto& team : traces) {
    // The elected player of each member, by game time, in "PlayOn".
    std::map<long, std::vector<int>> elected;
    for (const std::string& path : team.second) {
      std::ifstream in(path);
      for (std::string line; std::getline(in, line);) {
        if (line.find("\"pm\":\"PlayOn\"") == std::string::npos) continue;
        elected[Hundredths(NumberAfter(line, "\"t\":"))].push_back(
            static_cast<int>(NumberAfter(line, "\"elected\":")));
      }
    }
    int cycles = 0, agreed = 0;
    for (const auto& e : elected) {
      if (e.second.size() != 3) continue;
      ++cycles;
      // Number 6 starts nearest to the ball and, all walking alike, stays
      // so; without the reports the election would stay at its default.
      agreed += e.second[0] == 6 && e.second[1] == 6 && e.second[2] == 6;
    }
    std::cout << team.first << ": all three elect number 6 in " << agreed << " of "
              << cycles << " cycles of play" << std::endl;
    EXPECT_GT(cycles, 300);
    EXPECT_GT(agreed, 0.8 * cycles);
  }
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
  const std::vector<TraceLine> lines = ReadPlayerTrace(trace);
  double kickoff = -1, play_on = -1, walking = -1;
  for (const TraceLine& l : lines) {
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

// "" when the two texts are equal byte for byte, else where they part.
std::string FirstDifference(const std::string& a, const std::string& b) {
  if (a == b) return "";
  const size_t at = static_cast<size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
  const size_t line = a.rfind('\n', at == 0 ? 0 : at - 1);
  const size_t from = line == std::string::npos ? 0 : line + 1;
  return "line " + std::to_string(1 + std::count(a.begin(), a.begin() + at, '\n')) + ":\n" + a.substr(from, 300) +
         "\n" + b.substr(from, 300);
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
  const std::string a = Slurp(trace + "a");
  EXPECT_EQ(500, std::count(a.begin(), a.end(), '\n'));
  EXPECT_EQ("", FirstDifference(a, Slurp(trace + "b")));
}

}  // namespace
