#include "FieldServer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "Connection.h"
#include "Expression.h"
#include "FieldUnits.h"
#include "SceneRobotType.h"

namespace {

using Clock = std::chrono::steady_clock;

// Real-time mode: when the field falls this far behind (a stopped process, a
// slow machine), it drops the missed steps instead of racing to catch up.
constexpr auto kMaxLag = std::chrono::milliseconds(100);
// The monitor stream has a frame every second step, as the server's has.
constexpr long kStepsPerFrame = 2;
// A trainer client's request for a full state in the next frame.
constexpr const char* kFullStateRequest = "(reqfullstate)";
// Longest piece of a client's text quoted in an error line.
constexpr std::size_t kQuoteLength = 80;

std::string Quote(const std::string& text) {
  if (text.size() <= kQuoteLength) return text;
  return text.substr(0, kQuoteLength) + "...";
}

// A non-blocking listening socket on 127.0.0.1; *port gets the bound port.
int Listen(int port, int* bound, std::string* error) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    *error = std::string("cannot create a socket: ") + std::strerror(errno);
    return -1;
  }
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 64) != 0) {
    *error = "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
    close(fd);
    return -1;
  }
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  *bound = ntohs(address.sin_port);
  return fd;
}

}  // namespace

struct FieldServer::Client {
  enum class State { kNew, kScene, kPlaying };

  std::unique_ptr<Connection> connection;
  bool trainer = false;
  State state = State::kNew;
  int robot = -1;         // the world's id once the scene command came
  int robot_type = 0;     // what the scene command asked for
  bool answered = false;  // "(syn)" came since the last message
  bool gone = false;      // to be removed from the list
  bool watch_output = false;  // the poller also reports room to write
  bool wants_full = false;    // trainer: the next frame is to be a full state
  short ready = 0;            // what the last wait found, in poll()'s terms
  std::string frame;      // the frame being handled (buffer reused)
};

FieldServer::FieldServer(const FieldOptions& options, World* world) : options_(options), world_(world) {}

FieldServer::~FieldServer() {
  clients_.clear();
  for (int fd : {player_listener_, trainer_listener_, wake_read_, wake_write_}) {
    if (fd >= 0) close(fd);
  }
}

bool FieldServer::Open(std::string* error) {
  int fds[2];
  if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
    *error = std::string("cannot create a pipe: ") + std::strerror(errno);
    return false;
  }
  wake_read_ = fds[0];
  wake_write_ = fds[1];
  player_listener_ = Listen(options_.port, &player_port_, error);
  if (player_listener_ < 0) return false;
  trainer_listener_ = Listen(options_.trainer_port, &trainer_port_, error);
  if (trainer_listener_ < 0) return false;
  if (!poller_.Open(error)) return false;
  // The wake-up pipe and the listeners are told apart by the address of
  // their member as the tag; a client by its own address.
  for (int* fd : {&wake_read_, &player_listener_, &trainer_listener_}) {
    if (!poller_.Add(*fd, fd, false)) {
      *error = std::string("cannot watch a socket: ") + std::strerror(errno);
      return false;
    }
  }
  return true;
}

void FieldServer::Stop() {
  stop_.store(true);
  if (wake_write_ >= 0) {
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe already wakes the loop.
    ssize_t ignored = write(wake_write_, &byte, 1);
    (void)ignored;
  }
}

void FieldServer::Run() {
  constexpr auto kStep = std::chrono::milliseconds(FieldUnits::kStepMilliseconds);
  hold_until_ = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                   std::chrono::duration<double>(kJoinWaitSeconds));
  // Real-time pace: the wall time of the next step; set whenever the pace
  // turns to real time, so that a step never comes at once.
  bool paced = false;
  auto next_step = Clock::now();
  const auto pace_now = [&](Pace pace) {
    if (pace == Pace::kRealTime && !paced) next_step = Clock::now() + kStep;
    paced = pace == Pace::kRealTime;
  };
  while (!stop_.load() && !world_->Finished()) {
    for (const auto& client : clients_) {
      const bool output = client->connection->HasUnsent();
      if (output != client->watch_output && poller_.Change(client->connection->fd(), client.get(), output)) {
        client->watch_output = output;
      }
    }

    const Pace pace = CurrentPace();
    pace_now(pace);
    timespec timeout{0, 0};
    timespec* wait = &timeout;
    if (pace == Pace::kSyn) {
      // Nothing happens until somebody sends something.
      if (!ReadyToStep()) wait = nullptr;
    } else {
      const auto left = (pace == Pace::kHeld ? hold_until_ : next_step) - Clock::now();
      if (left > Clock::duration::zero()) {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
        timeout.tv_nsec = static_cast<long>(ns % 1000000000);
      }
    }
    const int ready = poller_.Wait(wait, &ready_);
    if (ready < 0 && errno != EINTR) {
      std::cerr << "poll failed: " << std::strerror(errno) << std::endl;
      break;
    }
    if (ready > 0) {
      bool wake = false, players = false, trainers = false;
      for (const Poller::Ready& r : ready_) {
        if (r.tag == &wake_read_) wake = true;
        else if (r.tag == &player_listener_) players = (r.events & POLLIN) != 0;
        else if (r.tag == &trainer_listener_) trainers = (r.events & POLLIN) != 0;
        else static_cast<Client*>(r.tag)->ready = r.events;
      }
      if (wake) {
        char drain[64];
        while (read(wake_read_, drain, sizeof drain) > 0) {
        }
      }
      if (players) Accept(player_listener_, false);
      if (trainers) Accept(trainer_listener_, true);
      // Ready clients are served in the order they connected, whatever the
      // order the kernel reports them in: of two init commands in one round
      // the earlier client's comes first. Clients accepted just now have
      // nothing to report yet; they come next round.
      for (const auto& client : clients_) {
        const short events = client->ready;
        client->ready = 0;
        if (events != 0 && !client->gone) ServeClient(*client, events);
      }
      for (std::size_t i = 0; i < clients_.size();) {
        if (clients_[i]->gone) {
          clients_.erase(clients_.begin() + static_cast<long>(i));
        } else {
          ++i;
        }
      }
    }
    if (stop_.load() || world_->Finished()) break;

    const Pace next = CurrentPace();
    pace_now(next);
    if (next == Pace::kSyn) {
      if (ReadyToStep()) DoStep();
    } else if (next == Pace::kRealTime) {
      const auto now = Clock::now();
      if (now >= next_step) {
        DoStep();
        next_step += kStep;
        if (now - next_step > kMaxLag) next_step = now + kStep;
      }
    }
  }
  CloseAll();
}

void FieldServer::Accept(int listener, bool trainer) {
  for (;;) {
    const int fd = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR) continue;
      // EAGAIN: all taken; anything else (out of descriptors) is retried
      // at the next wake-up.
      if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ECONNABORTED) {
        std::cerr << "cannot accept a client: " << std::strerror(errno) << std::endl;
      }
      return;
    }
    auto client = std::make_unique<Client>();
    client->connection = std::make_unique<Connection>(fd, next_client_number_++);
    client->trainer = trainer;
    if (!poller_.Add(fd, client.get(), false)) {
      std::cerr << "cannot watch client " << client->connection->number() << ": " << std::strerror(errno) << std::endl;
      continue;  // closed with it
    }
    // A trainer client watches the match from the start: a full state now,
    // and another with the next frame, from which on the diffs follow.
    if (trainer) {
      SendFullState(*client);
      client->wants_full = true;
    }
    if (!client->gone) clients_.push_back(std::move(client));
  }
}

void FieldServer::ServeClient(Client& client, short events) {
  Connection& connection = *client.connection;
  std::string reason;
  if ((events & POLLOUT) && !connection.Flush(&reason)) {
    Drop(client, reason);
    return;
  }
  if (!(events & (POLLIN | POLLHUP | POLLERR))) return;
  const Connection::ReadResult result = connection.Receive(&reason);
  for (;;) {
    const Connection::FrameResult frame = connection.NextFrame(&client.frame, &reason);
    if (frame == Connection::FrameResult::kNone) break;
    if (frame == Connection::FrameResult::kTooLong) {
      Drop(client, reason);
      return;
    }
    if (client.trainer) {
      HandleTrainerFrame(client);
    } else {
      HandlePlayerFrame(client);
    }
    if (client.gone) return;
  }
  if (result == Connection::ReadResult::kError) {
    Drop(client, reason);
  } else if (result == Connection::ReadResult::kClosed) {
    if (connection.MidFrame()) {
      Drop(client, "disconnected in the middle of a frame");
    } else {
      Leave(client);
    }
  }
}

void FieldServer::HandlePlayerFrame(Client& client) {
  std::string reason;
  if (!Expression::IsWellFormed(client.frame, &reason)) {
    Drop(client, "not a well-formed message (" + reason + "): " + Quote(client.frame));
    return;
  }
  switch (client.state) {
    case Client::State::kNew: {
      std::string scene;
      if (!Expression::FindList(client.frame, "scene", &scene)) {
        Drop(client, "expected the scene command, got: " + Quote(client.frame));
        return;
      }
      client.robot_type = SceneRobotType(scene, &reason);
      if (client.robot_type < 0) {
        Drop(client, "scene refused, " + reason + ": " + Quote(scene));
        return;
      }
      client.robot = world_->CreateRobot(client.robot_type);
      client.state = Client::State::kScene;
      world_->Perceive(client.robot, &message_);
      Send(client, message_);
      // Some clients send the init command in the same frame.
      std::string init;
      if (!client.gone && Expression::FindList(client.frame, "init", &init)) HandleInit(client, init);
      return;
    }
    case Client::State::kScene: {
      // Until the init command the robot takes no part; other commands wait.
      std::string init;
      if (Expression::FindList(client.frame, "init", &init)) HandleInit(client, init);
      return;
    }
    case Client::State::kPlaying:
      // The world keeps what a player sends until the next step (and holds
      // it back one step more, so that an answer to message k shows in
      // message k + 2, as on the real server). Handing it over now, while
      // the others still think, keeps the reading off the step itself.
      world_->ApplyCommands(client.robot, client.frame);
      if (Expression::HasSyn(client.frame)) client.answered = true;
      return;
  }
}

void FieldServer::HandleInit(Client& client, const std::string& init) {
  std::string unum_text, team;
  char* end = nullptr;
  long unum = -1;
  if (Expression::FindAtom(init, "unum", &unum_text)) unum = std::strtol(unum_text.c_str(), &end, 10);
  if (end == nullptr || *end != '\0' || unum < 0 || unum > 99 || !Expression::FindAtom(init, "teamname", &team)) {
    Drop(client, "bad init command: " + Quote(init));
    return;
  }
  std::string why;
  int given = 0;
  const World::InitResult result = world_->InitRobot(client.robot, team, static_cast<int>(unum), &why, &given);
  if (result == World::InitResult::kRejected) {
    client.robot = -1;  // the world has removed it
    Drop(client, why.empty() ? "refused by the field" : why);
    return;
  }
  // A robot its team's types refuse stays connected and is served like a
  // player, as the real server does; this line shows even with --quiet.
  client.state = Client::State::kPlaying;
  client.answered = false;
  if (result == World::InitResult::kOutsideTeam) {
    std::cerr << "client " << client.connection->number() << " stays outside team " << team << " (number " << given
              << ", robot type " << client.robot_type << "): " << why << std::endl;
  } else if (!options_.quiet) {
    std::cerr << "client " << client.connection->number() << " joined team " << team << std::endl;
  }
  world_->Perceive(client.robot, &message_);
  Send(client, message_);
}

void FieldServer::HandleTrainerFrame(Client& client) {
  std::string reason;
  if (!Expression::IsWellFormed(client.frame, &reason)) {
    Drop(client, "not a well-formed message (" + reason + "): " + Quote(client.frame));
    return;
  }
  for (const std::string& command : Expression::TopLevelLists(client.frame)) {
    if (command == kFullStateRequest) {
      client.wants_full = true;
      continue;
    }
    if (!world_->TrainerCommand(command)) {
      std::cerr << "unknown trainer command ignored: " << Quote(command) << std::endl;
    }
  }
}

void FieldServer::Send(Client& client, const std::string& text) {
  std::string reason;
  if (!client.connection->Send(text, &reason)) Drop(client, reason);
}

void FieldServer::Drop(Client& client, const std::string& reason) {
  if (client.gone) return;
  std::cerr << "dropping " << (client.trainer ? "trainer client " : "client ") << client.connection->number() << ": "
            << reason << std::endl;
  if (client.robot >= 0) world_->RemoveRobot(client.robot);
  client.robot = -1;
  poller_.Remove(client.connection->fd());
  client.connection->Close();
  client.gone = true;
}

void FieldServer::Leave(Client& client) {
  if (client.gone) return;
  if (!options_.quiet) {
    std::cerr << (client.trainer ? "trainer client " : "client ") << client.connection->number() << " left"
              << std::endl;
  }
  if (client.robot >= 0) world_->RemoveRobot(client.robot);
  client.robot = -1;
  poller_.Remove(client.connection->fd());
  client.connection->Close();
  client.gone = true;
}

FieldServer::Pace FieldServer::CurrentPace() {
  if (!options_.sync) return Pace::kRealTime;
  int playing = 0;
  for (const auto& client : clients_) {
    if (!client->gone && client->state == Client::State::kPlaying) ++playing;
  }
  if (!clock_started_) {
    if (playing < options_.players && Clock::now() < hold_until_) return Pace::kHeld;
    if (playing < options_.players) {
      std::cerr << "only " << playing << " of " << options_.players << " players joined within " << kJoinWaitSeconds
                << " s; the match starts without the others" << std::endl;
    }
    clock_started_ = true;
  }
  return playing > 0 ? Pace::kSyn : Pace::kRealTime;
}

bool FieldServer::ReadyToStep() const {
  bool any = false;
  for (const auto& client : clients_) {
    if (client->gone || client->state != Client::State::kPlaying) continue;
    if (!client->answered) return false;
    any = true;
  }
  return any;
}

void FieldServer::DoStep() {
  world_->Step();
  ++steps_;
  for (const auto& client : clients_) {
    if (client->gone || client->state != Client::State::kPlaying) continue;
    client->answered = false;
    world_->Perceive(client->robot, &message_);
    Send(*client, message_);
  }
  if (steps_ % kStepsPerFrame == 0) SendFrames();
  if (on_step_) on_step_();
}

void FieldServer::SendFrames() {
  bool watched = false;
  for (const auto& client : clients_) watched |= client->trainer && !client->gone;
  if (!watched) return;
  world_->Scene(&scene_);
  const bool full = monitor_.Next(scene_, &frame_);
  full_frame_.clear();
  for (const auto& client : clients_) {
    if (client->gone || !client->trainer) continue;
    if (client->wants_full && !full) {
      if (full_frame_.empty()) monitor_.Full(scene_, &full_frame_);
      Send(*client, full_frame_);
    } else {
      Send(*client, frame_);
    }
    client->wants_full = false;
  }
}

void FieldServer::SendFullState(Client& client) {
  world_->Scene(&scene_);
  monitor_.Full(scene_, &full_frame_);
  Send(client, full_frame_);
}

void FieldServer::CloseAll() {
  // Send what is queued, then end the stream so that every player reads
  // the end of the connection, and wait a little for them to close theirs:
  // closing a socket with unread input would reset the connection instead.
  for (const auto& client : clients_) {
    client->connection->Flush(nullptr);
    client->connection->ShutdownWrite();
  }
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(close_grace_));
  std::vector<pollfd> fds;
  for (;;) {
    fds.clear();
    for (const auto& client : clients_) {
      if (client->connection->fd() >= 0) fds.push_back({client->connection->fd(), POLLIN, 0});
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (fds.empty() || left <= 0) break;
    if (poll(fds.data(), fds.size(), static_cast<int>(left)) <= 0) continue;
    for (const pollfd& p : fds) {
      if (!p.revents) continue;
      char discard[4096];
      ssize_t got;
      while ((got = recv(p.fd, discard, sizeof discard, 0)) > 0) {
      }
      if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        for (const auto& client : clients_) {
          if (client->connection->fd() == p.fd) client->connection->Close();
        }
      }
    }
  }
  clients_.clear();
}
