// libFuzzer target for what the practice field reads from its clients. Every
// input plays one short match on a new field, with a robot of team "Beta"
// already on it:
//  - the input's bytes arrive on a player's socket and are taken apart into
//    length-prefixed frames, as the field reads its connections;
//  - then every line of the input is one more frame of that player.
// Each frame is handled as the field handles a player's frame (well-formed
// check, then the scene command, the init command, and from then on the
// answer to one step) and as a trainer's frame (every top-level list a
// trainer command); then the field steps, every robot in play gets its
// message and the trace its line. Build instructions: README.md.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <sys/socket.h>
#include <unistd.h>

#include "Connection.h"
#include "Expression.h"
#include "Lines.h"
#include "SceneRobotType.h"
#include "Summary.h"
#include "Trace.h"
#include "World.h"

namespace {

class Match {
public:
  Match() : world_(Config()) {
    other_ = world_.CreateRobot(0);
    world_.Perceive(other_);
    world_.InitRobot(other_, "Beta", 1, nullptr);
    world_.Perceive(other_);
  }

  void Frame(const std::string& frame) {
    if (world_.Finished()) return;
    if (Expression::IsWellFormed(frame, nullptr)) {
      for (const std::string& command : Expression::TopLevelLists(frame)) world_.TrainerCommand(command);
      Player(frame);
    } else {
      // The field drops such a client; the next frame comes as from a new one.
      Leave();
    }
    world_.Step();
    world_.Perceive(other_);
    if (playing_) world_.Perceive(robot_);
    Trace::FormatLine(world_.Snapshot(), &line_);
  }

  // What the field prints at the end of a match.
  void End() { FormatSummary(world_.Snapshot(), world_.Stats()); }

private:
  // A match short enough for the frames of one input to reach the kick-off
  // (step 10), play on, half time, the pushes and the end (step 70).
  static WorldConfig Config() {
    WorldConfig config;
    config.kickoff_after = 0.2;
    config.playon_after = 0.2;
    config.duration = 1.4;
    config.pushes = 2;
    return config;
  }

  void Player(const std::string& frame) {
    std::string list;
    if (robot_ < 0) {
      if (!Expression::FindList(frame, "scene", &list)) return;
      const int type = SceneRobotType(list, nullptr);
      if (type < 0) return;
      robot_ = world_.CreateRobot(type);
      world_.Perceive(robot_);
    }
    if (playing_) {
      world_.ApplyCommands(robot_, frame);
    } else if (Expression::FindList(frame, "init", &list)) {
      Init(list);
    }
  }

  void Init(const std::string& init) {
    std::string number, team;
    char* end = nullptr;
    long unum = -1;
    if (Expression::FindAtom(init, "unum", &number)) unum = std::strtol(number.c_str(), &end, 10);
    if (end == nullptr || *end != '\0' || unum < 0 || unum > 99 || !Expression::FindAtom(init, "teamname", &team)) {
      Leave();
      return;
    }
    if (world_.InitRobot(robot_, team, static_cast<int>(unum), nullptr) == World::InitResult::kRejected) {
      robot_ = -1;  // the world has removed it
      return;
    }
    playing_ = true;
    world_.Perceive(robot_);
  }

  void Leave() {
    if (robot_ >= 0) world_.RemoveRobot(robot_);
    robot_ = -1;
    playing_ = false;
  }

  World world_;
  int other_ = -1;
  int robot_ = -1;
  bool playing_ = false;
  std::string line_;
};

// The bytes as they come off a player's socket, frame by frame.
void ReadFrames(const uint8_t* data, size_t size, Match& match) {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) std::abort();
  Connection connection(fds[0], 1);
  size_t sent = 0;
  bool shut = false;
  std::string frame;
  for (;;) {
    if (sent < size) {
      const ssize_t n = send(fds[1], data + sent, size - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
      if (n > 0) sent += static_cast<size_t>(n);
    }
    if (sent == size && !shut) shut = shutdown(fds[1], SHUT_WR) == 0;
    const Connection::ReadResult result = connection.Receive(nullptr);
    for (;;) {
      const Connection::FrameResult got = connection.NextFrame(&frame, nullptr);
      if (got == Connection::FrameResult::kTooLong) {
        close(fds[1]);
        return;
      }
      if (got == Connection::FrameResult::kNone) break;
      match.Frame(frame);
    }
    if (result != Connection::ReadResult::kOk) break;
  }
  close(fds[1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Match match;
  ReadFrames(data, size, match);
  ForEachLine(data, size, [&match](const std::string& line) { match.Frame(line); });
  match.End();
  return 0;
}
