// The real player binary against the practice field in synchronous mode.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "FieldServer.h"
#include "World.h"
#include "nao_model/NaoModel.h"

extern char** environ;

namespace {

pid_t StartPlayer(int port, const std::string& team, int num) {
  const std::string path = VEKTORLING_BINARY_DIR "/vektorling";
  std::vector<std::string> args = {path, "--host=127.0.0.1", "--port=" + std::to_string(port),
                                   "--team=" + team, "--num=" + std::to_string(num), "--syn=1"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

TEST(EndToEndTest, PlayerIsBeamedToItsStartAndTakesItsDefaultPosture) {
  FieldOptions options;
  options.port = 0;
  options.trainer_port = 0;
  options.sync = true;
  options.noise = false;
  options.quiet = true;
  options.kickoff_after = 2.0;
  options.duration = 4.0;
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
  EXPECT_NEAR(end.game_time, 2.0, 0.05);  // kick-off at 2 s, match over at 4 s
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
    for (int j = 2; j < NaoModel::kJointNum; ++j) {
      EXPECT_NEAR(r.joints[j], posture[j], 0.5) << NaoModel::kJointTable[j].p_name;
    }
  }
}

}  // namespace
