// Processes started by the code under test, and the shell, in the
// simulation. A program named by the command line is found by the
// platform's rules: a quoted first token is the name; an unquoted one is
// tried at each space, shortest first; ".exe" is added to a name without an
// extension; a name without a folder is looked for in the program's own
// folder, the current folder and the system folders.
#include <optional>

#include "platform/launch.h"
#include "platform/sim/sim_text.h"
#include "platform/sim/world.h"
#include "text/text_ops.h"

namespace win {

namespace {

constexpr Dword kProcessAllAccess = 0x1FFFFF;

bool HasFolder(const std::string& name) {
  return text::Contains(name, "\\") || text::Contains(name, "/") || text::Contains(name, ":");
}

bool HasExtension(const std::string& name) {
  const auto dot = text::FindLast(name, ".");
  const auto slash = text::FindLast(text::ReplaceAll(name, "/", "\\"), "\\");
  return dot && (!slash || *dot > *slash);
}

// The absolute path of an existing program file for one candidate name.
std::optional<std::string> Locate(sim::World& world, std::string name, bool addExe) {
  if (name.empty()) return std::nullopt;
  if (addExe && !HasExtension(name)) name += ".exe";
  std::vector<std::string> tries;
  if (HasFolder(name)) {
    tries.push_back(name);
  } else {
    tries.push_back(world.shell.applicationFolder + "\\" + name);
    tries.push_back(world.files.currentFolder + "\\" + name);
    for (const auto& folder : world.shell.systemFolders) tries.push_back(folder + "\\" + name);
  }
  for (const auto& path : tries) {
    const sim::FileNode* node = world.files.Find(path);
    if (node && !node->folder) return world.files.Absolute(path);
  }
  return std::nullopt;
}

std::optional<std::string> ProgramOf(sim::World& world, const char* applicationName,
                                     const std::string& line) {
  if (applicationName) return Locate(world, applicationName, false);
  if (!line.empty() && line[0] == '"') {
    const auto close = text::Find(line, "\"", 1);
    return Locate(world, line.substr(1, close ? *close - 1 : std::string::npos), true);
  }
  // Unquoted: every prefix that ends before a space or tab, shortest first.
  for (std::size_t end = 0; end <= line.size(); end += text::CharLength(line, end)) {
    if (end == line.size() || line[end] == ' ' || line[end] == '\t') {
      if (auto found = Locate(world, line.substr(0, end), true)) return found;
      if (end == line.size()) break;
    }
  }
  return std::nullopt;
}

// The NT form of a drive-letter path, through the simulated DOS devices.
std::u16string NtPath(const sim::World& world, const std::string& absolute) {
  const std::u16string wide = sim::DecodeCp936(absolute);
  const auto device = world.processes.dosDevices.find(wide.substr(0, 2));
  if (device == world.processes.dosDevices.end()) return u"\\??\\" + wide;
  const std::u16string& targets = device->second;
  return targets.substr(0, targets.find(u'\0')) + wide.substr(2);
}

// A program that ends by itself has ended once its time came.
void Settle(sim::World& world, sim::SimProcess& process) {
  const sim::StartedProcess* started = world.shell.Started(process.id);
  if (!process.running || !started || !started->behaviour.endsAfter) return;
  if (world.clock.now >= started->startedAt + *started->behaviour.endsAfter) {
    process.running = false;
    process.exitCode = started->behaviour.exitCode;
  }
}

sim::SimProcess* ProcessOf(sim::World& world, Handle handle) {
  const auto* entry = world.handles.Find(handle);
  if (!entry || (entry->kind != sim::HandleKind::Process && entry->kind != sim::HandleKind::Thread))
    return nullptr;
  return world.processes.Find(entry->object);
}

Dword Record(sim::World& world, const char* function, Dword processId, Dword timeout, std::uint64_t startedAt,
             Dword result) {
  world.shell.waits.push_back(
      sim::WaitRecord{function, processId, timeout, result, startedAt, world.clock.now});
  return result;
}

std::optional<std::string> Copy(const char* text) {
  return text ? std::optional<std::string>(text) : std::nullopt;
}

}  // namespace

Bool CreateProcessA(const char* applicationName, char* commandLine, SecurityAttributes*, SecurityAttributes*,
                    Bool inheritHandles, Dword creationFlags, void* environment, const char* currentDirectory,
                    StartupInfoA* startupInfo, ProcessInformation* processInformation) {
  auto& world = sim::TheWorld();
  if (world.Enter("CreateProcessA") || !startupInfo || !processInformation) return kFalse;
  if (!applicationName && !commandLine) return kFalse;
  const std::string line = commandLine ? commandLine : "";
  const auto program = ProgramOf(world, applicationName, line);
  if (!program) return kFalse;

  const std::string exeName = program->substr(*text::FindLast(*program, "\\") + 1);
  sim::SimProcess& process = world.processes.Add(exeName, NtPath(world, *program));
  process.commandLine = line;
  if (startupInfo->dwFlags & kStartfUseShowWindow) process.showWindow = startupInfo->wShowWindow;
  process.parentId = world.processes.selfId;

  sim::StartedProcess started;
  started.processId = process.id;
  started.program = *program;
  started.applicationName = Copy(applicationName);
  started.commandLine = line;
  started.currentDirectory = Copy(currentDirectory);
  started.environmentGiven = environment != nullptr;
  started.inheritHandles = inheritHandles;
  started.creationFlags = creationFlags;
  started.startupInfoSize = startupInfo->cb;
  started.startupFlags = startupInfo->dwFlags;
  started.showWindow = startupInfo->wShowWindow;
  started.startedAt = world.clock.now;
  if (auto it = world.shell.behaviours.find(sim::FileState::Fold(*program));
      it != world.shell.behaviours.end())
    started.behaviour = it->second;
  world.shell.started.push_back(started);

  processInformation->hProcess = world.handles.Open(sim::HandleKind::Process, process.id, exeName);
  processInformation->hThread = world.handles.Open(sim::HandleKind::Thread, process.id, exeName);
  world.processes.handleAccess[Value(processInformation->hProcess)] = kProcessAllAccess;
  processInformation->dwProcessId = process.id;
  processInformation->dwThreadId = process.id + 1;
  return kTrue;
}

Dword WaitForSingleObject(Handle handle, Dword milliseconds) {
  auto& world = sim::TheWorld();
  if (world.Enter("WaitForSingleObject")) return kWaitFailed;
  const std::uint64_t start = world.clock.now;
  sim::SimProcess* process = ProcessOf(world, handle);
  if (!process) return Record(world, "WaitForSingleObject", 0, milliseconds, start, kWaitFailed);
  Settle(world, *process);
  if (!process->running)
    return Record(world, "WaitForSingleObject", process->id, milliseconds, start, kWaitObject0);
  const sim::StartedProcess* started = world.shell.Started(process->id);
  if (started && started->behaviour.endsAfter) {
    const std::uint64_t endsAt = started->startedAt + *started->behaviour.endsAfter;
    if (milliseconds == kInfinite || endsAt - start <= milliseconds) {
      world.clock.Advance(endsAt - start);
      Settle(world, *process);
      return Record(world, "WaitForSingleObject", process->id, milliseconds, start, kWaitObject0);
    }
  }
  if (milliseconds == kInfinite) {
    world.shell.hung = true;  // nothing will ever end this wait
    return Record(world, "WaitForSingleObject", process->id, milliseconds, start, kWaitFailed);
  }
  world.clock.Advance(milliseconds);
  return Record(world, "WaitForSingleObject", process->id, milliseconds, start, kWaitTimeout);
}

Dword WaitForInputIdle(Handle process, Dword milliseconds) {
  auto& world = sim::TheWorld();
  if (world.Enter("WaitForInputIdle")) return kWaitFailed;
  const std::uint64_t start = world.clock.now;
  const auto* entry = world.handles.Find(process);
  sim::SimProcess* target =
      entry && entry->kind == sim::HandleKind::Process ? world.processes.Find(entry->object) : nullptr;
  const sim::StartedProcess* started = target ? world.shell.Started(target->id) : nullptr;
  if (!started) return Record(world, "WaitForInputIdle", 0, milliseconds, start, kWaitFailed);
  const sim::ProgramBehaviour& behaviour = started->behaviour;
  Settle(world, *target);
  if (behaviour.console || !target->running)
    return Record(world, "WaitForInputIdle", target->id, milliseconds, start, kWaitFailed);
  std::optional<std::uint64_t> readyAt;
  if (behaviour.readyAfter) readyAt = started->startedAt + *behaviour.readyAfter;
  if (behaviour.endsAfter) {
    // Ending first leaves nothing to wait for.
    const std::uint64_t endsAt = started->startedAt + *behaviour.endsAfter;
    if (!readyAt || endsAt < *readyAt) {
      if (milliseconds == kInfinite || endsAt - start <= milliseconds) {
        world.clock.Advance(endsAt - start);
        Settle(world, *target);
        return Record(world, "WaitForInputIdle", target->id, milliseconds, start, kWaitFailed);
      }
      readyAt.reset();
    }
  }
  if (readyAt && (*readyAt <= start || milliseconds == kInfinite || *readyAt - start <= milliseconds)) {
    if (*readyAt > start) world.clock.Advance(*readyAt - start);
    return Record(world, "WaitForInputIdle", target->id, milliseconds, start, kWaitObject0);
  }
  if (milliseconds == kInfinite) {
    world.shell.hung = true;
    return Record(world, "WaitForInputIdle", target->id, milliseconds, start, kWaitFailed);
  }
  world.clock.Advance(milliseconds);
  return Record(world, "WaitForInputIdle", target->id, milliseconds, start, kWaitTimeout);
}

Hmodule ShellExecuteA(Hwnd window, const char* operation, const char* file, const char* parameters,
                      const char* directory, int showCommand) {
  auto& world = sim::TheWorld();
  constexpr std::uintptr_t kFileNotFound = 2;  // SE_ERR_FNF
  if (world.Enter("ShellExecuteA")) return static_cast<Hmodule>(kFileNotFound);
  world.shell.opens.push_back(sim::ShellOpenRecord{window, Copy(operation), Copy(file), Copy(parameters),
                                                   Copy(directory), showCommand});
  // A URL goes to the handler of its scheme; a path must name something.
  const std::string target = file ? file : "";
  const auto colon = text::Find(target, ":");
  const bool url = colon && *colon > 1;
  if (url || (!target.empty() && world.files.Find(target))) return static_cast<Hmodule>(std::uintptr_t{42});
  return static_cast<Hmodule>(kFileNotFound);
}

}  // namespace win
