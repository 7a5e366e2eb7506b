#include "platform/sim/process_state.h"

namespace sim {

SimProcess& ProcessState::Add(std::string exeName, std::u16string imagePath, win::Dword id) {
  if (id == 0) id = nextId += 4;
  SimProcess process;
  process.id = id;
  process.exeName = std::move(exeName);
  process.imagePath = std::move(imagePath);
  list.push_back(std::move(process));
  return list.back();
}

SimProcess* ProcessState::Find(win::Dword id) {
  for (auto& process : list)
    if (process.id == id) return &process;
  return nullptr;
}

}  // namespace sim
