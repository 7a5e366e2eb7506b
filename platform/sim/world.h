// The simulated Windows that host tests run against. One World holds every
// piece of simulated system state; tests arrange it, run code through the
// platform layer, then inspect what the code did.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/clock.h"
#include "platform/sim/console_state.h"
#include "platform/sim/dialog_state.h"
#include "platform/sim/file_state.h"
#include "platform/sim/handle_table.h"
#include "platform/sim/inet_state.h"
#include "platform/sim/memory_state.h"
#include "platform/sim/process_state.h"
#include "platform/sim/registry_state.h"
#include "platform/sim/shell_state.h"
#include "platform/sim/window_state.h"

namespace sim {

class World {
 public:
  // Every platform call passes through Enter first: it is logged, and the
  // answer says whether the call must fail because a test asked for it.
  bool Enter(std::string_view function);

  // The next `occurrence`-th call of `function` fails (1 = the very next).
  void FailNext(std::string_view function, int occurrence = 1);
  // Every call of `function` fails until Heal.
  void FailAlways(std::string_view function);
  void Heal(std::string_view function);
  // The call at this position of the log (0-based, counted from the start
  // of the world) fails.
  void FailCallAt(std::size_t index);

  // Number of logged calls of one function.
  int CallCount(std::string_view function) const;

  std::vector<std::string> calls;   // names of the platform calls, in order
  std::vector<std::string> failed;  // names of the calls that were made to fail

  Clock clock;
  HandleTable handles;
  MemoryState memory;
  ConsoleState console;
  ProcessState processes;
  WindowState windows;
  FileState files;
  RegistryState registry;
  DialogState dialogs;
  ShellState shell;
  InetState inet;

 private:
  std::map<std::string, std::vector<int>, std::less<>> failCountdowns_;
  std::map<std::string, bool, std::less<>> failAlways_;
  std::vector<std::size_t> failIndexes_;
};

// The world the platform layer answers from.
World& TheWorld();
// Replaces the world with a fresh one: what every test starts from.
void ResetWorld();

}  // namespace sim
