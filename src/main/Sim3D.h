#ifndef VEKTORLING_MAIN_SIM3D_H
#define VEKTORLING_MAIN_SIM3D_H

#include <atomic>
#include <boost/scoped_ptr.hpp>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "action/Tactics.h"
#include "agent/MotionParams.h"
#include "net/Addr.h"
#include "net/FrameReader.h"
#include "net/TCPSocket.h"

class Agent;
namespace draw {
class DrawingSender;
}

// The process-wide settings read from the command line, the one connection
// to the simulation server with its framing, and the main loop. Used only
// through its statics.
class Sim3D {
 public:
  Sim3D() = delete;

  // Settings (see ReadOptions for the options that set them).
  static net::TCPSocket gSocket_;
  // Bytes received from the server and not yet handed out as messages.
  static net::FrameReader gReceived_;
  static std::string gHost_;
  static int gPort_;
  static std::string gTeamName_;
  static int gNum_;
  static bool gSynMode_;
  static int gType_;
  static std::string gServerVer_;
  // File for one JSON line per cycle of what the player believes; empty: none.
  static std::string gTraceFile_;
  // --tactics: what the legs do in open play.
  static Tactics gTactics_;
  // --params: the engines' parameters (the defaults without the option).
  static MotionParams gParams_;
  // --draw: where RoboViz listens for the player's drawings; none: no drawings.
  static std::optional<net::Addr> gDrawTo_;
  // Payload of the last received message, up to its first zero byte.
  static std::string gMsg_;
  // The main loop runs while this is true; cleared by the interrupt handler
  // and when the server goes away. Atomic so that the signal handler (and a
  // test's second thread) may clear it safely.
  static std::atomic<bool> main_loop_;
  // How long SelectInput waits for data before giving up, in seconds.
  static int gSelectTimeoutSec_;
  // Joining: how long to wait for the server's first message after the scene
  // command before connecting again (seconds; 0: no new connection), and how
  // many connections to try in all.
  static double gJoinWaitSec_;
  static int gJoinTries_;

  // Everything the player needs before it connects: the agent, the trace
  // file and the framed scene command, so that the scene command follows the
  // connection at once. A server in synchronous mode counts a new connection
  // as answering only for a few of its steps; a scene command that comes later
  // leaves the server and the player waiting for each other.
  struct Player {
    Player();
    ~Player();
    // The scoped owner destroys the agent on every way out.
    boost::scoped_ptr<Agent> agent;
    std::ofstream trace;
    std::string scene_frame;
    // With --draw: the drawings of what the agent believes.
    std::unique_ptr<draw::DrawingSender> drawing;
  };

  // Puts every setting above back to its start value and closes the socket.
  static void ResetSettings();

  // Reads the command line into the settings. Prints the usage text and
  // ends the process with status 0 for "--help" or an option without value.
  static void ReadOptions(int argc, char** argv);
  static void PrintHelp();
  static std::string GetServerVersion();

  // Binds to any local address and connects to gHost_:gPort_; on failure
  // prints one line on standard error, closes the socket and returns false.
  static bool Init();
  // Closes the socket and says so on standard output.
  static void Done();
  // Waits until the socket is readable; aborts on time-out or error.
  static bool SelectInput();
  // Waits up to `seconds` until the socket is readable; false on time-out,
  // on an error, or when an interrupt ended the loop.
  static bool WaitReadable(double seconds);
  // Sends msg behind its 4-byte big-endian length; sends nothing for "".
  static void PutMessage(const std::string& msg);
  // Receives one framed message into gMsg_; false (and main_loop_ cleared)
  // when the server has gone away.
  static bool GetMessage();
  // Builds the agent from the settings, opens the trace file, sets up the
  // drawings and frames the scene command.
  static void Prepare(Player* player);
  // Sends the scene command and waits for the server's first message. When
  // none comes within gJoinWaitSec_, closes the connection, says so on
  // standard error and connects again, gJoinTries_ connections in all; the
  // last one waits as long as any message.
  enum class JoinResult {
    kJoined,        // the first message has arrived
    kEnded,         // the server closed the connection, or an interrupt came
    kNoConnection,  // a new connection could not be set up (Init has said why)
  };
  static JoinResult Join(Player& player);
  // The main loop: the init command, then one answer per message, and after
  // the answer to a message with vision the drawings (with --draw). In
  // synchronous mode a server silent for gJoinWaitSec_ after the init command
  // gets a "(syn)" (at most gJoinTries_ - 1 times).
  static void Run(Player& player);
};

// The interrupt handler: SIGINT and SIGTERM end the main loop after the
// message being handled; other signals are ignored.
void handler(int signal);

#endif
