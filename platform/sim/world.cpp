#include "platform/sim/world.h"

#include <algorithm>
#include <memory>

namespace sim {

namespace {
std::unique_ptr<World>& Slot() {
  static std::unique_ptr<World> world;
  return world;
}
}  // namespace

World& TheWorld() {
  if (!Slot()) ResetWorld();
  return *Slot();
}

void ResetWorld() {
  auto world = std::make_unique<World>();
  world->handles.Open(HandleKind::ConsoleInput, 0, "stdin");
  world->handles.Open(HandleKind::ConsoleOutput, 0, "stdout");
  world->processes.Add("ThornwickvalePatch.exe",
                       u"\\Device\\HarddiskVolume2\\Users\\player\\Downloads\\ThornwickvalePatch.exe",
                       world->processes.selfId);
  world->files.AddFile("C:\\Users\\player\\Downloads\\ThornwickvalePatch.exe");
  Slot() = std::move(world);
}

bool World::Enter(std::string_view function) {
  const std::size_t index = calls.size();
  calls.emplace_back(function);
  bool fail = false;
  if (auto it = std::find(failIndexes_.begin(), failIndexes_.end(), index); it != failIndexes_.end()) {
    failIndexes_.erase(it);
    fail = true;
  }
  if (auto it = failAlways_.find(function); it != failAlways_.end() && it->second) fail = true;
  if (auto it = failCountdowns_.find(function); it != failCountdowns_.end()) {
    auto& countdowns = it->second;
    for (auto& left : countdowns) --left;
    if (std::erase(countdowns, 0) > 0) fail = true;
  }
  if (fail) failed.emplace_back(function);
  return fail;
}

void World::FailNext(std::string_view function, int occurrence) {
  auto it = failCountdowns_.find(function);
  if (it == failCountdowns_.end())
    it = failCountdowns_.emplace(std::string(function), std::vector<int>{}).first;
  it->second.push_back(occurrence);
}

void World::FailAlways(std::string_view function) { failAlways_[std::string(function)] = true; }

void World::Heal(std::string_view function) {
  failAlways_[std::string(function)] = false;
  if (auto it = failCountdowns_.find(function); it != failCountdowns_.end()) it->second.clear();
}

void World::FailCallAt(std::size_t index) { failIndexes_.push_back(index); }

int World::CallCount(std::string_view function) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), function));
}

}  // namespace sim
