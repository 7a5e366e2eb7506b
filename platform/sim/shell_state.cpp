#include "platform/sim/shell_state.h"

#include "platform/sim/file_state.h"

namespace sim {

ProgramBehaviour& ShellState::Behaviour(const std::string& absolutePath) {
  return behaviours[FileState::Fold(absolutePath)];
}

StartedProcess* ShellState::Started(win::Dword processId) {
  for (auto& process : started)
    if (process.processId == processId) return &process;
  return nullptr;
}

}  // namespace sim
