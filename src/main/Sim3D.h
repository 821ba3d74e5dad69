#ifndef VEKTORLING_MAIN_SIM3D_H
#define VEKTORLING_MAIN_SIM3D_H

#include <atomic>
#include <string>

#include "action/Tactics.h"
#include "net/FrameReader.h"
#include "net/TCPSocket.h"

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
  // Payload of the last received message, up to its first zero byte.
  static std::string gMsg_;
  // The main loop runs while this is true; cleared by the interrupt handler
  // and when the server goes away. Atomic so that the signal handler (and a
  // test's second thread) may clear it safely.
  static std::atomic<bool> main_loop_;
  // How long SelectInput waits for data before giving up, in seconds.
  static int gSelectTimeoutSec_;

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
  // Sends msg behind its 4-byte big-endian length; sends nothing for "".
  static void PutMessage(const std::string& msg);
  // Receives one framed message into gMsg_; false (and main_loop_ cleared)
  // when the server has gone away.
  static bool GetMessage();
  // The main loop: scene and init commands, then one answer per message.
  static void Run();
};

// The interrupt handler: SIGINT and SIGTERM end the main loop after the
// message being handled; other signals are ignored.
void handler(int signal);

#endif
