// vektorling-sim: the practice field. A stand-in for the simulation server
// that speaks its protocol on 127.0.0.1, so players can be run and watched
// without it.

#include <csignal>
#include <cstdio>
#include <iostream>

#include "FieldOptions.h"
#include "FieldServer.h"
#include "Recorder.h"
#include "Summary.h"
#include "World.h"

namespace {

FieldServer* g_server = nullptr;

void HandleStopSignal(int) {
  if (g_server != nullptr) g_server->Stop();
}

void InstallHandlers() {
  struct sigaction action {};
  action.sa_handler = HandleStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A client that vanishes must not kill the field through a write.
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
  FieldOptions options;
  std::string error;
  if (!ParseFieldOptions(argc, argv, &options, &error)) {
    std::cerr << "vektorling-sim: " << error << "\n\n" << FieldUsage();
    return 2;
  }
  if (options.help) {
    std::cout << FieldUsage();
    return 0;
  }

  World world(options.ToWorldConfig());
  FieldServer server(options, &world);
  Recorder recorder(options, &world);
  if (!server.Open(&error) || !recorder.Open(&error)) {
    std::cerr << "vektorling-sim: " << error << std::endl;
    return 1;
  }
  server.OnStep([&recorder] { recorder.AfterStep(); });
  g_server = &server;
  InstallHandlers();
  std::cout << "players on port " << server.PlayerPort() << ", trainer on port " << server.TrainerPort()
            << (options.sync ? " (synchronous mode)" : " (real time)") << std::endl;

  server.Run();
  g_server = nullptr;
  recorder.Finish();

  std::cout << FormatSummary(world.Snapshot(), world.Stats()) << std::flush;
  if (!options.svg_file.empty()) {
    if (!recorder.Plot().Write(options.svg_file, &error)) {
      std::cerr << "vektorling-sim: " << error << std::endl;
      return 1;
    }
  }
  return 0;
}
