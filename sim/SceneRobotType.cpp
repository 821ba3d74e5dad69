#include "SceneRobotType.h"

#include <sstream>
#include <vector>

namespace {

constexpr const char* kPlainNao = "rsg/agent/nao/nao.rsg";
constexpr const char* kHeteroNao = "rsg/agent/nao/nao_hetero.rsg";
constexpr const char* kAccepted =
    " (the field loads rsg/agent/nao/nao.rsg, or rsg/agent/nao/nao_hetero.rsg with a robot type from 0 to 4)";

// The path names this file, on its own or under some directory.
bool Names(const std::string& path, const std::string& file) {
  return path == file ||
         (path.size() > file.size() && path.compare(path.size() - file.size() - 1, std::string::npos, "/" + file) == 0);
}

int Refuse(const std::string& why, std::string* reason) {
  if (reason) *reason = why + kAccepted;
  return -1;
}

}  // namespace

int SceneRobotType(const std::string& scene, std::string* reason) {
  if (scene.size() < 2 || scene.front() != '(' || scene.back() != ')' ||
      scene.find_first_of("()", 1) != scene.size() - 1) {
    return Refuse("more than a file and a robot type", reason);
  }
  std::istringstream in(scene.substr(1, scene.size() - 2));
  std::vector<std::string> atoms;
  for (std::string atom; in >> atom;) atoms.push_back(atom);
  if (atoms.size() < 2 || atoms[0] != "scene") return Refuse("no scene file", reason);
  const std::string& file = atoms[1];
  if (Names(file, kPlainNao)) {
    return atoms.size() == 2 ? 0 : Refuse("nao.rsg takes no robot type", reason);
  }
  if (!Names(file, kHeteroNao)) return Refuse("unknown scene file", reason);
  if (atoms.size() != 3) return Refuse("nao_hetero.rsg needs one robot type", reason);
  const std::string& type = atoms[2];
  if (type.size() != 1 || type[0] < '0' || type[0] > '4') {
    return Refuse("the robot type is not between 0 and 4", reason);
  }
  return type[0] - '0';
}
