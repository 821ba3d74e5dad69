#include <csignal>

#include "main/Sim3D.h"

int main(int argc, char** argv) {
  std::signal(SIGINT, handler);
  std::signal(SIGTERM, handler);
  Sim3D::ReadOptions(argc, argv);
  if (!Sim3D::Init()) return 1;
  Sim3D::Run();
  Sim3D::Done();
  return 0;
}
