// What the practice field sends and writes, byte for byte: a scripted match of
// two teams with noise on, every message framed by a Connection and read back
// off a socket, and every trace line, hashed step by step and compared with
// tests/data/field-bytes.txt. Work on the field's speed must not change a byte.
// After a deliberate change of behaviour, write the file anew with
//   VEKTORLING_WRITE_FIELD_BYTES=tests/data/field-bytes.txt build/vektorling_tests --gtest_filter='FieldBytes*'
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

#include "../support/Golden.h"
#include "Connection.h"
#include "SimTestSupport.h"
#include "Trace.h"
#include "World.h"

namespace {

// Sends the text as the field does and returns the bytes the player reads.
std::string OnTheWire(Connection& field_end, int player_end, const std::string& text) {
  std::string reason;
  EXPECT_TRUE(field_end.Send(text, &reason)) << reason;
  std::string wire(4 + text.size(), '\0');
  for (std::size_t got = 0; got < wire.size();) {
    const ssize_t n = recv(player_end, &wire[got], wire.size() - got, 0);
    if (n <= 0) return wire.substr(0, got);
    got += static_cast<std::size_t>(n);
  }
  return wire;
}

// The answer of one robot in one step: joint speeds that swing with time,
// beams before the kick-off, a few words now and then.
std::string Answer(int robot, int step) {
  std::ostringstream out;
  out.precision(17);
  static const char* kEffectors[] = {"he1", "he2", "lae1", "rae2", "lle3", "lle4", "rle3", "rle4", "lle1", "rle5"};
  for (int e = 0; e < 10; ++e) {
    if ((step + e + robot) % 4 == 0) continue;
    out << '(' << kEffectors[e] << ' ' << 1.7 * std::sin(0.05 * step * (e + 1) + robot) << ')';
  }
  if (step % 60 == 5) out << "(beam " << -1.5 * (robot % 5 + 1) << ' ' << robot % 3 - 1.0 << ' ' << 20.0 * robot << ')';
  if ((step + robot) % 7 == 0) out << "(say r" << robot << "s" << step << ")";
  return out.str() + "(syn)";
}

TEST(FieldBytesTest, MessagesAndTraceOfAScriptedMatchStayTheSame) {
  WorldConfig config;
  config.seed = 7;
  config.kickoff_after = 1.0;
  config.duration = 7.0;
  config.playon_after = 1.0;
  config.pushes = 3;
  World world(config);
  std::vector<int> ids;
  for (const char* team : {"Alpha", "Beta"}) {
    for (int n = 1; n <= 5; ++n) ids.push_back(simtest::Join(world, team, n));
  }
  int fds[2];
  ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds));
  Connection field_end(fds[0], 1);

  golden::Recording recording;  // per step: the trace line, then the message to each robot
  std::string trace;
  for (int step = 0; !world.Finished(); ++step) {
    Trace::FormatLine(world.Snapshot(), &trace);
    std::vector<std::string> texts{trace};
    for (std::size_t i = 0; i < ids.size(); ++i) {
      texts.push_back(OnTheWire(field_end, fds[1], world.Perceive(ids[i])));
      world.ApplyCommands(ids[i], Answer(static_cast<int>(i), step));
    }
    recording.Add(std::to_string(step), texts);
    if (step == 120) {
      ASSERT_TRUE(world.TrainerCommand("(ball (pos -1 0.5 0.042) (vel -3 0.4 0))"));
    }
    world.Step();
  }
  close(fds[1]);
  ASSERT_GT(recording.Size(), 300u);
  recording.Check("VEKTORLING_WRITE_FIELD_BYTES", "field-bytes.txt");
}

}  // namespace
