#include <csignal>

#include "main/Sim3D.h"

int main(int argc, char** argv) {
  std::signal(SIGINT, handler);
  std::signal(SIGTERM, handler);
  Sim3D::ReadOptions(argc, argv);
  // Everything is ready before the connection: the scene command goes out
  // at once behind it.
  Sim3D::Player player;
  Sim3D::Prepare(&player);
  if (!Sim3D::Init()) return 1;
  switch (Sim3D::Join(player)) {
    case Sim3D::JoinResult::kNoConnection:
      return 1;
    case Sim3D::JoinResult::kJoined:
      Sim3D::Run(player);
      break;
    case Sim3D::JoinResult::kEnded:
      break;
  }
  Sim3D::Done();
  return 0;
}
