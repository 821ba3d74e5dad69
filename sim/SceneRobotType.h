#ifndef VEKTORLING_SIM_SCENE_ROBOT_TYPE_H
#define VEKTORLING_SIM_SCENE_ROBOT_TYPE_H

#include <string>

// The robot type a scene command asks for: "(scene rsg/agent/nao/nao_hetero.rsg T)"
// gives T (0 to 4), "(scene rsg/agent/nao/nao.rsg)" the plain Nao, type 0.
// Any other scene gives -1 and, in *reason, one line saying what is wrong
// and which scenes the field loads (without quoting the client's text).
// The list must be well formed.
int SceneRobotType(const std::string& scene, std::string* reason);

#endif
