// Simulated programs and shell: what the code under test started, how it
// waited for them, and what it handed to the shell.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace sim {

// How a started program behaves, in virtual time from its start.
struct ProgramBehaviour {
  bool console = false;  // no message queue: WaitForInputIdle answers at once, failing
  // Until it waits for input; nothing: never (a busy program).
  std::optional<std::uint64_t> readyAfter = 200;
  // Until it ends by itself; nothing: it runs until it is ended.
  std::optional<std::uint64_t> endsAfter;
  win::Dword exitCode = 0;
};

struct StartedProcess {
  win::Dword processId = 0;
  std::string program;  // absolute path of the program that was started
  std::optional<std::string> applicationName;
  std::string commandLine;  // as passed
  std::optional<std::string> currentDirectory;
  bool environmentGiven = false;
  win::Bool inheritHandles = 0;
  win::Dword creationFlags = 0;
  win::Dword startupInfoSize = 0;  // cb
  win::Dword startupFlags = 0;     // dwFlags
  win::Word showWindow = 0;        // wShowWindow
  std::uint64_t startedAt = 0;
  ProgramBehaviour behaviour;
};

struct WaitRecord {
  std::string function;  // "WaitForSingleObject" or "WaitForInputIdle"
  win::Dword processId = 0;
  win::Dword timeout = 0;
  win::Dword result = 0;
  std::uint64_t startedAt = 0, returnedAt = 0;
};

struct ShellOpenRecord {
  win::Hwnd window{};
  std::optional<std::string> operation, file, parameters, directory;  // nothing: a null pointer
  int showCommand = 0;
};

struct ShellState {
  // Where a program named without a folder is looked for, after the current
  // folder: the folder the running program was loaded from comes first,
  // then the system folders.
  std::string applicationFolder = "C:\\Users\\player\\Downloads";
  std::vector<std::string> systemFolders = {"C:\\Windows\\System32", "C:\\Windows"};

  // Behaviour of programs by their folded absolute path; others behave as
  // ProgramBehaviour's defaults.
  std::map<std::string, ProgramBehaviour> behaviours;
  ProgramBehaviour& Behaviour(const std::string& absolutePath);

  std::vector<StartedProcess> started;
  std::vector<WaitRecord> waits;
  std::vector<ShellOpenRecord> opens;
  // An endless wait on a process that never ends was asked for (it answers
  // kWaitFailed instead of hanging the test).
  bool hung = false;

  StartedProcess* Started(win::Dword processId);
};

}  // namespace sim
