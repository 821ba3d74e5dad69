// The practice field's server side: the command line, the check of received
// texts, the limits of one connection, and the server run in-process on free
// ports with clients of the test's own that speak the wire protocol.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

#include "../support/LoopbackServer.h"
#include "Connection.h"
#include "Expression.h"
#include "FieldOptions.h"
#include "FieldServer.h"
#include "SceneRobotType.h"
#include "World.h"

namespace {

bool Parse(std::vector<const char*> args, FieldOptions* options, std::string* error) {
  args.insert(args.begin(), "vektorling-sim");
  return ParseFieldOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(FieldOptionsTest, ValuesAfterEqualsOrAsNextArgumentAndBadOnesRefused) {
  FieldOptions options;
  std::string error;
  ASSERT_TRUE(
      Parse({"--port=0", "--trainer-port", "3999", "--sync", "--pushes", "4", "--duration", "60", "--players=22",
             "--at", "2.5:(playMode PlayOn)", "--at=1:(ball (pos 1 2 0))"},
            &options, &error))
      << error;
  // Scheduled in time order; a tie keeps the order given.
  const std::vector<std::pair<double, std::string>> scheduled = {{1, "(ball (pos 1 2 0))"}, {2.5, "(playMode PlayOn)"}};
  EXPECT_EQ(scheduled, options.ToWorldConfig().scheduled);
  EXPECT_EQ(std::make_tuple(0, 3999, true, 60.0, 4, 22), std::make_tuple(options.port, options.trainer_port, options.sync,
                                                                       options.duration, options.pushes, options.players));
  for (const std::vector<const char*>& bad : std::vector<std::vector<const char*>>{
           {"--port=70000"}, {"--port", "31x"}, {"--port=-1"}, {"--port"}, {"--seed=-3"}, {"--duration=0"},
           {"--duration=nan"}, {"--kickoff-after=-1"}, {"--trace="}, {"--sync=1"}, {"--frobnicate"}, {"stray"},
           {"--pushes=-1"}, {"--pushes=2"},  // pushes need a duration to spread over
           {"--sync", "--players=23"}, {"--players=2"},
           {"--at=2"}, {"--at=:(playMode PlayOn)"}, {"--at=-1:(playMode PlayOn)"}, {"--at=1:(playMode PlayOn"}}) {  // only synchronous mode waits for players
    SCOPED_TRACE(bad[0]);
    FieldOptions fresh;
    EXPECT_FALSE(Parse(bad, &fresh, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::string::npos, error.find('\n')) << error;
    error.clear();
  }
}

TEST(FieldExpressionTest, WellFormedOrSaysWhy) {
  const std::pair<std::string, bool> cases[] = {
      {"(scene rsg/agent/nao/nao_hetero.rsg 0)", true}, {"(he1 0.50)(he2 -1.2) (syn)\n", true}, {"", true},
      {"((()))", true}, {"(syn", false}, {"(syn))", false}, {")(", false}, {"hello", false}, {"(a) b", false},
      {std::string("(a\0b)", 5), false}, {"(caf\xc3\xa9)", false}, {"(a)\x7f", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    std::string reason;
    EXPECT_EQ(c.second, Expression::IsWellFormed(c.first, &reason));
    EXPECT_EQ(c.second, reason.empty());
  }
}

TEST(FieldExpressionTest, FindsListsAtomsAndSynByWholeHead) {
  std::string list, atom;
  ASSERT_TRUE(Expression::FindList("(scene x 0)(init (unum 7)(teamname Beta-2))", "init", &list));
  EXPECT_EQ("(init (unum 7)(teamname Beta-2))", list);
  ASSERT_TRUE(Expression::FindAtom(list, "teamname", &atom));
  EXPECT_EQ("Beta-2", atom);
  EXPECT_FALSE(Expression::FindList("(initial 1)", "init", &list));
  EXPECT_FALSE(Expression::FindAtom("(teamname )", "teamname", &atom));
  EXPECT_TRUE(Expression::HasSyn("(he1 0.1)( syn )"));
  EXPECT_FALSE(Expression::HasSyn("(synthetic 1)"));
  EXPECT_EQ(std::vector<std::string>({"(playMode PlayOn)", "(ball (pos 1 2 0))"}),
            Expression::TopLevelLists("(playMode PlayOn) (ball (pos 1 2 0))"));
}

TEST(FieldSceneTest, RobotTypeFromTheNaoScenesOnly) {
  const std::pair<std::string, int> cases[] = {
      {"(scene rsg/agent/nao/nao_hetero.rsg 0)", 0}, {"( scene\trsg/agent/nao/nao_hetero.rsg 4 )", 4}, {"(scene rsg/agent/nao/nao.rsg)", 0},
      {"(scene rsg/agent/nao/nao_hetero.rsg 7)", -1}, {"(scene rsg/agent/nao/nao_hetero.rsg -1)", -1},
      {"(scene rsg/agent/nao/nao_hetero.rsg 1.0)", -1}, {"(scene rsg/agent/nao/nao_hetero.rsg)", -1},
      {"(scene rsg/agent/nao/nao_hetero.rsg 1 2)", -1}, {"(scene rsg/agent/nao/nao.rsg 2)", -1},
      {"(scene rsg/agent/soccerbot058/soccerbot.rsg)", -1}, {"(scene rsg/agent/nao/nao_hetero.rsg.bak 1)", -1},
      {"(scene)", -1}, {"(scene (rsg/agent/nao/nao.rsg))", -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    std::string reason;
    EXPECT_EQ(c.second, SceneRobotType(c.first, &reason));
    EXPECT_EQ(c.second < 0, reason.find("nao_hetero.rsg with a robot type from 0 to 4") != std::string::npos) << reason;
  }
}

// The longest frame a connection takes. One byte more is refused
// (DeadBrokenAndRefusedClients...); a client that does not read is given up
// (TrainerClientsWatchTheMatch...).
TEST(FieldConnectionTest, LongestFrameAccepted) {
  int fds[2];
  ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
  Connection connection(fds[0], 1);
  const std::string longest(Connection::kMaxFrame, 'x');
  std::thread writer([&] { framing::SendAll(fds[1], framing::Frame(longest)); });
  std::string text, reason;
  while (connection.NextFrame(&text, &reason) == Connection::FrameResult::kNone) {
    ASSERT_NE(Connection::ReadResult::kError, connection.Receive(&reason));
  }
  writer.join();
  close(fds[1]);
  EXPECT_EQ(longest, text);
}

const char kScene[] = "(scene rsg/agent/nao/nao_hetero.rsg 0)";

std::string Init(int unum, const std::string& team) {
  return "(init (unum " + std::to_string(unum) + ")(teamname " + team + "))";
}

// A client on the loopback interface; every wait has a time limit.
class TestClient {
public:
  // receive_buffer > 0: the socket's receive buffer is kept that small.
  explicit TestClient(int port, int receive_buffer = 0) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    if (receive_buffer > 0) setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receive_buffer, sizeof receive_buffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(0, connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address));
  }
  ~TestClient() { close(fd_); }
  void SendRaw(const std::string& bytes) { ASSERT_TRUE(framing::SendAll(fd_, bytes)); }
  void Send(const std::string& text) { SendRaw(framing::Frame(text)); }
  // One whole message into last; false when none comes in time or the stream ends.
  bool Receive(int timeout_ms = 2000) { return framing::WaitReadable(fd_, timeout_ms) && framing::ReadFrame(fd_, last); }
  void Leave() { shutdown(fd_, SHUT_WR); }
  // True when the field closes the connection (messages on the way skipped).
  bool SeesEnd() {
    framing::ReadUntilClosed(fd_);
    char byte;
    return recv(fd_, &byte, 1, MSG_DONTWAIT) == 0;
  }
  std::string last;

private:
  int fd_;
};

// The field in a thread of its own, on ports the system chose.
class FieldServerTest : public ::testing::Test {
protected:
  void Start(bool sync, double duration = -1) {
    TearDown();
    ended_ = false;
    options_.port = options_.trainer_port = 0;
    options_.sync = sync;
    options_.quiet = true;
    options_.noise = false;
    options_.duration = duration;
    world_ = std::make_unique<World>(options_.ToWorldConfig());
    server_ = std::make_unique<FieldServer>(options_, world_.get());
    std::string error;
    ASSERT_TRUE(server_->Open(&error)) << error;
    server_->SetCloseGrace(0.3);
    thread_ = std::thread([this] {
      server_->Run();
      ended_ = true;
    });
  }
  // Waits (generously) for the field to end the match on its own.
  bool Ended() {
    for (int i = 0; i < 3000 && !ended_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ended_;
  }
  void TearDown() override {
    if (thread_.joinable()) {
      server_->Stop();
      thread_.join();
    }
  }
  // A client that sent the scene and init commands and got both answers.
  std::unique_ptr<TestClient> Player(int unum, const std::string& team) {
    auto client = std::make_unique<TestClient>(server_->PlayerPort());
    client->Send(kScene);
    EXPECT_TRUE(client->Receive());
    client->Send(Init(unum, team));
    EXPECT_TRUE(client->Receive());
    return client;
  }
  // One synchronous step: every client says "(syn)" and gets its message.
  void SynStep(const std::vector<TestClient*>& clients) {
    for (TestClient* c : clients) c->Send("(syn)");
    for (TestClient* c : clients) ASSERT_TRUE(c->Receive());
  }

  FieldOptions options_;
  std::unique_ptr<World> world_;
  std::unique_ptr<FieldServer> server_;
  std::thread thread_;
  std::atomic<bool> ended_{false};
};

TEST_F(FieldServerTest, StartUpSequenceFirstGameStatesAndSplitOrJoinedFrames) {
  options_.players = 1;  // the clock waits for this player
  Start(true, 0.1);
  TestClient client(server_->PlayerPort());
  // The scene command in pieces: the header 1 + 3 bytes, the text in two.
  const std::string scene = framing::Frame(kScene);
  for (const std::string& piece : {scene.substr(0, 1), scene.substr(1, 3), scene.substr(4, 10), scene.substr(14)}) {
    client.SendRaw(piece);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(client.Receive());
  EXPECT_EQ(0u, client.last.find("(time (now ")) << client.last;
  EXPECT_FALSE(client.Receive(100));  // nothing more until the init command
  EXPECT_EQ(0, server_->Steps());     // and no step before the player has joined
  client.Send(Init(0, "Alpha"));
  ASSERT_TRUE(client.Receive());  // without any "(syn)"
  EXPECT_NE(std::string::npos, client.last.find("(GS (sl 0) (sr 0) (t 0.00) (pm BeforeKickOff))")) << client.last;
  EXPECT_FALSE(client.Receive(100));  // sync mode: the next step waits for "(syn)"
  // Two frames in one write; the number and side come once, in the next message.
  client.SendRaw(framing::Frame("(he1 0.1)") + framing::Frame("(syn)"));
  ASSERT_TRUE(client.Receive());
  EXPECT_NE(std::string::npos, client.last.find("(GS (unum 1) (team left)")) << client.last;
  // The rest of the 0.1 s match (five steps), then the end.
  for (int step = 2; step <= 5; ++step) {
    SynStep({&client});
    EXPECT_EQ(std::string::npos, client.last.find("(unum ")) << client.last;
  }
  EXPECT_TRUE(client.SeesEnd());
  EXPECT_EQ(5, server_->Steps());
}

TEST_F(FieldServerTest, SyncStepWaitsForEveryPlayersSynAndTheTrainerCanEndTheMatch) {
  Start(true);
  auto a = Player(1, "Alpha");
  auto b = Player(1, "Beta");
  TestClient trainer(server_->TrainerPort());
  TestClient idle(server_->PlayerPort());  // connected, never said anything
  SynStep({a.get(), b.get()});
  const std::string first = a->last;
  // B's answer without "(syn)" does not count; wall time passing does not either.
  a->Send("(syn)");
  b->Send("(he1 0.0)");
  EXPECT_FALSE(a->Receive(100));
  b->Send("(syn)");
  ASSERT_TRUE(a->Receive() && b->Receive());
  double t1 = 0, t2 = 0;
  std::sscanf(first.c_str(), "(time (now %lf", &t1);
  std::sscanf(a->last.c_str(), "(time (now %lf", &t2);
  EXPECT_NEAR(0.02, t2 - t1, 0.001);

  ::testing::internal::CaptureStderr();
  trainer.Send("(frobnicate 1)(playMode PlayOn)");
  for (int step = 0; step < 10 && a->last.find("(pm PlayOn)") == std::string::npos; ++step) SynStep({a.get(), b.get()});
  EXPECT_NE(std::string::npos, a->last.find("(pm PlayOn)")) << a->last;
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, err.find("unknown trainer command ignored: (frobnicate 1)")) << err;
  TestClient(server_->TrainerPort()).Send("(killsim)");  // a second trainer
  for (TestClient* client : {a.get(), b.get(), &trainer, &idle}) EXPECT_TRUE(client->SeesEnd());
}

TEST_F(FieldServerTest, DeadBrokenAndRefusedClientsAreDroppedWithoutDisturbingOthers) {
  Start(true);
  auto a = Player(1, "Alpha");
  auto b = Player(1, "Beta");
  Player(2, "Alpha").reset();  // leaves cleanly
  const std::string too_long = std::to_string(Connection::kMaxFrame + 1);
  const std::tuple<std::string, bool, std::string> clients[] = {  // sends, then leaves?, the reason
      {framing::Frame(kScene) + framing::Frame(Init(1, "Gamma")), false, "Gamma rejected"},  // a third team
      {framing::Frame("hello field"), false, "not a well-formed message"},
      {framing::Header(Connection::kMaxFrame + 1) + "(he1", false, "frame of " + too_long + " bytes"},
      {framing::Frame(kScene) + framing::Frame(Init(4, "Alpha")) + framing::Frame("(he1 1.0)(syn)").substr(0, 9), true,
       "in the middle of a frame"}};
  ::testing::internal::CaptureStderr();
  for (const auto& c : clients) {
    TestClient client(server_->PlayerPort());
    client.SendRaw(std::get<0>(c));
    if (std::get<1>(c)) client.Leave();
    EXPECT_TRUE(client.SeesEnd()) << std::get<2>(c);
  }
  // A and B keep playing, with nobody else to wait for.
  for (int step = 0; step < 3; ++step) SynStep({a.get(), b.get()});
  const std::string err = ::testing::internal::GetCapturedStderr();
  for (const auto& c : clients) EXPECT_NE(std::string::npos, err.find(std::get<2>(c))) << err;
  const std::regex line("dropping client [0-9]+: [^\n]+\n");
  EXPECT_EQ(4, std::distance(std::sregex_iterator(err.begin(), err.end(), line), std::sregex_iterator())) << err;
}

TEST_F(FieldServerTest, RealTimeOrSyncModeWithNobodyToWaitForStepsAtTheWallClocksPaceUntilTheDuration) {
  // 0: real time, the player never answers; 1: sync, nobody comes;
  // 2: sync, a player joins and leaves.
  for (int visit = 0; visit < 3; ++visit) {
    SCOPED_TRACE(visit);
    const auto start = std::chrono::steady_clock::now();
    Start(visit > 0, 0.3);
    if (visit != 1) {
      auto a = Player(1, "Alpha");
      int messages = 0;
      if (visit == 2) SynStep({a.get()});
      while (visit == 0 && messages < 50 && a->Receive(500)) ++messages;  // ends when the field closes
      EXPECT_LE(messages, 15);  // some steps came before the player joined
    }
    ASSERT_TRUE(Ended()) << "still running after " << server_->Steps() << " steps";
    EXPECT_EQ(server_->Steps(), 15);
    // Paced by the wall clock (a player's own step aside), not run at once.
    EXPECT_GT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.25);
  }
}

}  // namespace

TEST_F(FieldServerTest, TrainerClientsWatchTheMatchAndOneThatStopsReadingIsDropped) {
  Start(true);
  auto a = Player(1, "Alpha");
  TestClient watcher(server_->TrainerPort());
  TestClient stalled(server_->TrainerPort(), 4096);  // never reads
  // A full state at once, another with the first frame, then a diff every second step.
  for (int step = 1; step <= 6; ++step) SynStep({a.get()});
  std::vector<std::string> kinds;
  while (kinds.size() < 5 && watcher.Receive(300)) {
    kinds.push_back(watcher.last.find(")(RSG 0 1)(") != std::string::npos   ? "RSG"
                    : watcher.last.find(")(RDS 0 1)(") != std::string::npos ? "RDS"
                                                                            : watcher.last.substr(0, 40));
  }
  EXPECT_EQ((std::vector<std::string>{"RSG", "RSG", "RDS", "RDS"}), kinds);
  // Asked for, the next frame is a full state again.
  watcher.Send("(reqfullstate)");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  SynStep({a.get()});
  SynStep({a.get()});
  ASSERT_TRUE(watcher.Receive());
  EXPECT_NE(std::string::npos, watcher.last.find(")(RSG 0 1)(")) << watcher.last.substr(0, 100);

  // The field goes on stepping while the stalled watcher's frames pile up,
  // until it gives that one up; the reading watcher keeps its stream.
  ::testing::internal::CaptureStderr();
  std::string err;
  for (int step = 0; step < 40000 && err.find("dropping trainer client") == std::string::npos; ++step) {
    SynStep({a.get()});
    while (watcher.Receive(0)) {
    }
    if (step % 500 == 0) {
      err += ::testing::internal::GetCapturedStderr();
      ::testing::internal::CaptureStderr();
    }
  }
  err += ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(1, std::count(err.begin(), err.end(), '\n')) << err;
  EXPECT_NE(std::string::npos, err.find("dropping trainer client 3: it does not read its messages")) << err;
  SynStep({a.get()});
  SynStep({a.get()});
  EXPECT_TRUE(watcher.Receive());
  EXPECT_NE(std::string::npos, watcher.last.find(")(RDS 0 1)(")) << watcher.last.substr(0, 100);
}
