// Simulated processes, listed in snapshot order.
#pragma once

#include <deque>
#include <optional>
#include <string>

#include "platform/types.h"

namespace sim {

struct SimProcess {
  win::Dword id = 0;
  std::string exeName;         // szExeFile of the snapshot record, code page 936
  std::u16string imagePath;    // what the native image-name query answers (NT form)
  bool mayOpen = true;         // OpenProcess succeeds
  bool running = true;
  std::optional<win::Dword> exitCode;  // set once terminated
  std::string commandLine;     // for processes the code under test started
  std::optional<win::Word> showWindow;  // wShowWindow it was started with
};

struct ProcessState {
  std::deque<SimProcess> list;  // deque: references stay valid as processes are added
  win::Dword selfId = 4242;  // the process under test; it is list[0] after reset
  win::Dword nextId = 5000;

  SimProcess& Add(std::string exeName, std::u16string imagePath, win::Dword id = 0);
  SimProcess* Find(win::Dword id);
  SimProcess& Self() { return *Find(selfId); }
};

}  // namespace sim
