#include "main/Sim3D.h"

#include <arpa/inet.h>
#include <sys/select.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

#include "agent/Agent.h"
#include "agent/Beliefs.h"
#include "agent/DrawingSender.h"
#include "net/Addr.h"
#include "net/BindError.h"
#include "net/ConnectError.h"

namespace {

// Start values of the settings.
const char* const kDefaultHost = "127.0.0.1";
const int kDefaultPort = 3100;
const int kMinPort = 3100;
const char* const kDefaultTeamName = "Agent";
const int kDefaultSelectTimeoutSec = 60;
// A lone first player may wait a second or two for its first message.
const double kDefaultJoinWaitSec = 3.0;
const int kDefaultJoinTries = 10;
const double kMaxJoinWaitSec = 3600.0;
// RoboViz listens for drawings on this UDP port.
const int kDefaultDrawPort = 32769;

// Receive buffer: 4-byte length prefix, payload, terminating zero byte.
const std::size_t kHeaderSize = net::FrameReader::kHeaderSize;

const char* const kUsage[] = {
    "\nusage: vektorling [options]",
    "\noptions:",
    " --help      prints this message.",
    " --host=IP   IP of the server.",
    " --port=PORT PORT NUMBER of the server.",
    " --team=NAME NAME of the team.",
    " --syn=Synchronize Mode of the team.",
    " --type=MODEL TYPE of the nao model type.",
};

// True when arg begins with name. The value is what follows the one
// separator character behind the name. An argument shorter than the name
// plus min_extra characters carries no usable value: usage text, exit 0.
bool MatchOption(const std::string& arg, const std::string& name,
                 std::size_t min_extra, std::string& value) {
  if (arg.compare(0, name.size(), name) != 0) return false;
  if (arg.size() < name.size() + min_extra) {
    Sim3D::PrintHelp();
    std::exit(0);
  }
  value = arg.size() > name.size() ? arg.substr(name.size() + 1) : std::string();
  return true;
}

// Decimal number as strtol reads it (blanks and sign accepted, no digits
// gives 0), kept within the range of int.
int ReadNumber(const std::string& text) {
  const long n = std::strtol(text.c_str(), nullptr, 10);
  if (n > INT_MAX) return INT_MAX;
  if (n < INT_MIN) return INT_MIN;
  return static_cast<int>(n);
}

// Seconds as strtod reads them, kept within [0, kMaxJoinWaitSec]; no number
// or not a finite one gives 0.
double ReadSeconds(const std::string& text) {
  const double s = std::strtod(text.c_str(), nullptr);
  if (!(s > 0)) return 0;
  return s > kMaxJoinWaitSec ? kMaxJoinWaitSec : s;
}

// Waits with select until the socket is readable, at most `seconds`; an
// interrupted wait goes on (with the time left) while on_interrupt() says so.
// False on a time-out (errno ETIMEDOUT: select leaves errno alone then, and
// an earlier call's would be misleading), on an error, or when told to stop.
bool SelectReadable(double seconds, bool (*on_interrupt)()) {
  const int fd = Sim3D::gSocket_.getFD();
  // select cannot watch a descriptor outside an fd_set.
  if (fd < 0 || fd >= FD_SETSIZE) {
    errno = EBADF;
    return false;
  }
  timeval timeout;
  timeout.tv_sec = static_cast<long>(seconds);
  timeout.tv_usec = static_cast<long>((seconds - static_cast<double>(timeout.tv_sec)) * 1e6);
  for (;;) {
    fd_set readfds;
    FD_ZERO(&readfds);
    FD_SET(fd, &readfds);
    const int ready = ::select(fd + 1, &readfds, nullptr, nullptr, &timeout);
    if (ready == 1) return true;
    if (ready < 0 && errno == EINTR && on_interrupt()) continue;
    if (ready == 0) errno = ETIMEDOUT;
    return false;
  }
}

// The frame of one message: its 4-byte big-endian length, then the text.
void Frame(const std::string& msg, std::string* frame) {
  const std::uint32_t len = htonl(static_cast<std::uint32_t>(msg.size()));
  frame->assign(reinterpret_cast<const char*>(&len), kHeaderSize);
  *frame += msg;
}

}  // namespace

net::TCPSocket Sim3D::gSocket_;
net::FrameReader Sim3D::gReceived_;
std::string Sim3D::gHost_ = kDefaultHost;
int Sim3D::gPort_ = kDefaultPort;
std::string Sim3D::gTeamName_ = kDefaultTeamName;
int Sim3D::gNum_ = 0;
bool Sim3D::gSynMode_ = false;
int Sim3D::gType_ = 0;
std::string Sim3D::gServerVer_ = Agent::kDefaultServerVersion;
std::string Sim3D::gTraceFile_;
Tactics Sim3D::gTactics_ = Tactics::kDefault;
MotionParams Sim3D::gParams_;
std::optional<net::Addr> Sim3D::gDrawTo_;
std::string Sim3D::gMsg_;
std::atomic<bool> Sim3D::main_loop_(true);
int Sim3D::gSelectTimeoutSec_ = kDefaultSelectTimeoutSec;
double Sim3D::gJoinWaitSec_ = kDefaultJoinWaitSec;
int Sim3D::gJoinTries_ = kDefaultJoinTries;

Sim3D::Player::Player() = default;
Sim3D::Player::~Player() = default;

void Sim3D::ResetSettings() {
  gSocket_.close();
  gReceived_.Clear();
  gHost_ = kDefaultHost;
  gPort_ = kDefaultPort;
  gTeamName_ = kDefaultTeamName;
  gNum_ = 0;
  gSynMode_ = false;
  gType_ = 0;
  gServerVer_ = Agent::kDefaultServerVersion;
  gTraceFile_.clear();
  gTactics_ = Tactics::kDefault;
  gParams_ = MotionParams();
  gDrawTo_.reset();
  gMsg_.clear();
  main_loop_ = true;
  gSelectTimeoutSec_ = kDefaultSelectTimeoutSec;
  gJoinWaitSec_ = kDefaultJoinWaitSec;
  gJoinTries_ = kDefaultJoinTries;
}

void Sim3D::ReadOptions(int argc, char** argv) {
  // The program name is examined too; it normally matches nothing.
  for (int i = 0; i < argc; ++i) {
    if (argv[i] == nullptr) continue;
    const std::string arg(argv[i]);
    std::string value;
    if (arg == "--help") {
      PrintHelp();
      std::exit(0);
    } else if (MatchOption(arg, "--host", 2, value)) {
      gHost_ = value;
    } else if (MatchOption(arg, "--port", 2, value)) {
      const int port = ReadNumber(value);
      gPort_ = port < kMinPort ? kMinPort : port;
    } else if (MatchOption(arg, "--team", 2, value)) {
      gTeamName_ = value;
    } else if (MatchOption(arg, "--num", 2, value)) {
      gNum_ = ReadNumber(value);
    } else if (MatchOption(arg, "--syn", 2, value)) {
      gSynMode_ = ReadNumber(value) != 0;
    } else if (MatchOption(arg, "--type", 2, value)) {
      gType_ = ReadNumber(value);
    } else if (MatchOption(arg, "--ser", 1, value)) {
      // "--ser=" alone sets an empty version.
      gServerVer_ = value;
    } else if (MatchOption(arg, "--trace", 2, value)) {
      gTraceFile_ = value;
    } else if (MatchOption(arg, "--join-wait", 2, value)) {
      gJoinWaitSec_ = ReadSeconds(value);
    } else if (MatchOption(arg, "--join-tries", 2, value)) {
      const int tries = ReadNumber(value);
      gJoinTries_ = tries < 1 ? 1 : tries;
    } else if (arg == "--list-params") {
      DescribeMotionParams(std::cout);
      std::exit(0);
    } else if (MatchOption(arg, "--params", 2, value)) {
      // The whole file or nothing, before any connection.
      std::string error;
      if (!LoadMotionParams(value, &gParams_, &error)) {
        std::cerr << error << std::endl;
        std::exit(2);
      }
    } else if (MatchOption(arg, "--tactics", 2, value)) {
      if (!ParseTactics(value, &gTactics_)) {
        std::cerr << "unknown tactics '" << value << "' (known: default, ball)" << std::endl;
        std::exit(2);
      }
    } else if (MatchOption(arg, "--draw", 2, value)) {
      std::string error;
      gDrawTo_ = net::ParseHostPort(value, kDefaultDrawPort, &error);
      if (!gDrawTo_) {
        std::cerr << "cannot draw to '" << value << "' (" << error << ")" << std::endl;
        std::exit(2);
      }
    }
  }
}

void Sim3D::PrintHelp() {
  for (const char* line : kUsage) std::cout << line << '\n';
  std::cout << std::endl;
}

std::string Sim3D::GetServerVersion() { return gServerVer_; }

bool Sim3D::Init() {
  gReceived_.Clear();
  try {
    gSocket_.bind(net::Addr(0, static_cast<std::uint32_t>(INADDR_ANY)));
  } catch (const net::BindError& e) {
    std::cerr << "failed to bind socket with '" << e.what() << "'" << std::endl;
    gSocket_.close();
    return false;
  }
  try {
    // An unresolvable host arrives here as well (ResolveError is a
    // ConnectError).
    gSocket_.connect(net::Addr(gPort_, gHost_));
  } catch (const net::ConnectError& e) {
    std::cerr << "connection failed with: '" << e.what() << "'" << std::endl;
    gSocket_.close();
    return false;
  }
  return true;
}

void Sim3D::Done() {
  gSocket_.close();
  std::cout << "closed connection to " << gHost_ << ":" << gPort_ << std::endl;
}

bool Sim3D::SelectInput() {
  if (SelectReadable(gSelectTimeoutSec_, [] { return true; })) return true;
  std::cerr << "(SelectInput) select failed " << std::strerror(errno) << std::endl;
  std::abort();
}

void Sim3D::PutMessage(const std::string& msg) {
  if (msg.empty()) return;
  // One buffer for every frame: after the first messages, sending takes
  // nothing from the heap.
  static std::string frame;
  Frame(msg, &frame);
  gSocket_.send(frame.data(), frame.size(), 0, 0);
}

bool Sim3D::GetMessage() {
  std::string_view payload;
  switch (gReceived_.Next(gSocket_, &Sim3D::SelectInput, &payload)) {
    case net::FrameReader::FRAME:
      // Up to the first zero byte, as a C string would end.
      gMsg_.assign(payload.data(), strnlen(payload.data(), payload.size()));
      return true;
    case net::FrameReader::TOO_LONG:
      std::cerr << "message too long; aborting" << std::endl;
      std::abort();
    case net::FrameReader::CLOSED:
      break;
  }
  main_loop_ = false;
  return false;
}

bool Sim3D::WaitReadable(double seconds) {
  return SelectReadable(seconds, [] { return main_loop_.load(); });
}

void Sim3D::Prepare(Player* player) {
  player->agent.reset(new Agent(gNum_, gTeamName_, gSynMode_, gServerVer_, gTactics_, gParams_));
  if (!gTraceFile_.empty()) {
    player->trace.open(gTraceFile_);
    if (player->trace) {
      player->agent->SetTrace(&player->trace);
    } else {
      std::cerr << "cannot write trace file '" << gTraceFile_ << "'; playing without it" << std::endl;
    }
  }
  if (gDrawTo_) player->drawing.reset(new draw::DrawingSender(*gDrawTo_));
  Frame(player->agent->SelectUsingType(static_cast<unsigned>(gType_)), &player->scene_frame);
}

Sim3D::JoinResult Sim3D::Join(Player& player) {
  for (int attempt = 1;; ++attempt) {
    gSocket_.send(player.scene_frame.data(), player.scene_frame.size(), 0, 0);
    if (gJoinWaitSec_ <= 0 || attempt >= gJoinTries_ || WaitReadable(gJoinWaitSec_)) break;
    if (!main_loop_) return JoinResult::kEnded;
    // Nobody has taken a uniform number yet (that comes with init), so a new
    // connection loses nothing.
    std::cerr << "no answer from " << gHost_ << ":" << gPort_ << " within " << gJoinWaitSec_
              << " s of the scene command; connecting again (" << attempt + 1 << " of " << gJoinTries_ << ")"
              << std::endl;
    gSocket_.close();
    if (!Init()) return JoinResult::kNoConnection;
  }
  // The server's first message is not analysed.
  return GetMessage() ? JoinResult::kJoined : JoinResult::kEnded;
}

void Sim3D::Run(Player& player) {
  // The init command, built by the agent's constructor.
  PutMessage(player.agent->GetMainMessage());
  // A server in synchronous mode waits for the "(syn)" of a new player from
  // its fifth step on. When the first message came in the last of those
  // steps, the init command (which carries none) leaves both waiting; a
  // "(syn)" of its own lets the server go on.
  for (int attempt = 1; gSynMode_ && gJoinWaitSec_ > 0 && attempt < gJoinTries_; ++attempt) {
    if (WaitReadable(gJoinWaitSec_) || !main_loop_) break;
    std::cerr << "no message from " << gHost_ << ":" << gPort_ << " within " << gJoinWaitSec_
              << " s of the init command; sending (syn)" << std::endl;
    PutMessage("(syn)");
  }
  while (main_loop_) {
    if (!GetMessage()) break;
    PutMessage(player.agent->Run(gMsg_));
    // After the answer: drawing never delays it.
    if (player.drawing && player.agent->SawThisCycle()) player.drawing->Send(player.agent->GatherBeliefs());
  }
}

void handler(int signal) {
  // A termination request ends the player as cleanly as Ctrl-C does, so that
  // process managers and scripts that send SIGTERM lose nothing.
  if (signal == SIGINT || signal == SIGTERM) Sim3D::main_loop_ = false;
}
