// Process functions of the simulation.
#include <algorithm>
#include <cstring>

#include "platform/process.h"
#include "platform/sim/sim_text.h"
#include "platform/sim/world.h"

namespace win {

namespace {

constexpr std::uintptr_t kKernel32 = 0x7C800000;

bool IsPseudoHandle(Handle handle) { return handle == kInvalidHandleValue; }

// The process a handle refers to, with the rights it was opened with.
sim::SimProcess* ProcessOf(sim::World& world, Handle handle, Dword* access) {
  if (IsPseudoHandle(handle)) {
    *access = 0x1FFFFF;  // PROCESS_ALL_ACCESS
    return world.processes.Find(world.processes.selfId);
  }
  const auto* entry = world.handles.Find(handle);
  if (!entry || entry->kind != sim::HandleKind::Process) return nullptr;
  const auto it = world.processes.handleAccess.find(Value(handle));
  *access = it == world.processes.handleAccess.end() ? 0 : it->second;
  return world.processes.Find(entry->object);
}

Bool Walk(Handle snapshot, ProcessEntry32* entry, bool first) {
  auto& world = sim::TheWorld();
  const auto* handle = world.handles.Find(snapshot);
  const auto it = world.processes.snapshots.find(Value(snapshot));
  if (!handle || handle->kind != sim::HandleKind::Snapshot || it == world.processes.snapshots.end() ||
      !entry || entry->dwSize < sizeof(ProcessEntry32))
    return kFalse;
  auto& walk = it->second;
  if (first) walk.next = 0;
  if (walk.next >= walk.processes.size()) return kFalse;
  const sim::SimProcess& process = walk.processes[walk.next++];
  entry->cntUsage = 0;
  entry->th32ProcessID = process.id;
  entry->th32DefaultHeapID = 0;
  entry->th32ModuleID = 0;
  entry->cntThreads = 1;
  entry->th32ParentProcessID = process.parentId;
  entry->pcPriClassBase = 8;
  entry->dwFlags = 0;
  std::memset(entry->szExeFile, 0, sizeof entry->szExeFile);
  const std::size_t n = std::min(process.exeName.size(), sizeof entry->szExeFile - 1);
  std::memcpy(entry->szExeFile, process.exeName.data(), n);
  return kTrue;
}

Uint TW_SYSTEM_CALL SimGetSystemWow64DirectoryA(char* buffer, Uint size) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetSystemWow64DirectoryA") || !world.processes.system64Bit) return 0;
  const std::string& folder = world.processes.wow64Directory;
  if (!buffer || size <= folder.size()) return static_cast<Uint>(folder.size() + 1);
  std::memcpy(buffer, folder.c_str(), folder.size() + 1);
  return static_cast<Uint>(folder.size());
}

}  // namespace

Handle CreateToolhelp32Snapshot(Dword flags, Dword) {
  auto& world = sim::TheWorld();
  if (world.Enter("CreateToolhelp32Snapshot")) return kInvalidHandleValue;
  sim::SimSnapshot snapshot;
  if (flags & kTh32csSnapProcess)
    for (const auto& process : world.processes.list)
      if (process.running) snapshot.processes.push_back(process);
  const Handle handle = world.handles.Open(sim::HandleKind::Snapshot, 0, "process snapshot");
  world.processes.snapshots[Value(handle)] = std::move(snapshot);
  return handle;
}

Bool Process32First(Handle snapshot, ProcessEntry32* entry) {
  if (sim::TheWorld().Enter("Process32First")) return kFalse;
  return Walk(snapshot, entry, true);
}

Bool Process32Next(Handle snapshot, ProcessEntry32* entry) {
  if (sim::TheWorld().Enter("Process32Next")) return kFalse;
  return Walk(snapshot, entry, false);
}

Handle GetCurrentProcess() {
  sim::TheWorld().Enter("GetCurrentProcess");
  return kInvalidHandleValue;
}

Dword GetCurrentProcessId() {
  auto& world = sim::TheWorld();
  world.Enter("GetCurrentProcessId");
  return world.processes.selfId;
}

Handle OpenProcess(Dword desiredAccess, Bool, Dword processId) {
  auto& world = sim::TheWorld();
  if (world.Enter("OpenProcess") || processId == 0) return Handle{};
  const sim::SimProcess* process = world.processes.Find(processId);
  if (!process || !process->running || !process->mayOpen) return Handle{};
  if (process->needsDebugPrivilege && !world.processes.debugPrivilegeOn) return Handle{};
  const Handle handle = world.handles.Open(sim::HandleKind::Process, processId, process->exeName);
  world.processes.handleAccess[Value(handle)] = desiredAccess;
  return handle;
}

Bool TerminateProcess(Handle processHandle, Uint exitCode) {
  auto& world = sim::TheWorld();
  if (world.Enter("TerminateProcess")) return kFalse;
  Dword access = 0;
  sim::SimProcess* process = ProcessOf(world, processHandle, &access);
  if (!process || !(access & kProcessTerminate) || !process->running) return kFalse;
  process->running = false;
  process->exitCode = exitCode;
  world.windows.RemoveWindowsOf(process->id);
  return kTrue;
}

NtStatus RtlAdjustPrivilege(Dword privilege, Byte enable, Byte, Byte* wasEnabled) {
  auto& world = sim::TheWorld();
  if (world.Enter("RtlAdjustPrivilege")) return kStatusUnsuccessful;
  if (privilege != kSeDebugPrivilege || !world.processes.mayEnableDebugPrivilege)
    return kStatusPrivilegeNotHeld;
  if (wasEnabled) *wasEnabled = world.processes.debugPrivilegeOn ? 1 : 0;
  world.processes.debugPrivilegeOn = enable != 0;
  world.processes.debugPrivilegeSwitches.push_back(enable != 0);
  return kStatusSuccess;
}

NtStatus NtQueryInformationProcess(Handle processHandle, Dword informationClass, void* information,
                                   Dword informationLength, Dword* returnLength) {
  auto& world = sim::TheWorld();
  if (world.Enter("NtQueryInformationProcess")) return kStatusUnsuccessful;
  Dword access = 0;
  const sim::SimProcess* process = ProcessOf(world, processHandle, &access);
  if (!process) return kStatusInvalidHandle;
  if (informationClass != kProcessImageFileName) return kStatusInvalidInfoClass;
  if (!(access & (kProcessQueryInformation | kProcessQueryLimitedInformation))) return kStatusAccessDenied;
  // The string follows its head in the caller's block, as the system does it.
  const std::size_t characters = process->imagePath.size() * sizeof(Wchar);
  const std::size_t storage =
      characters && !world.processes.imageNameUnterminated ? characters + sizeof(Wchar) : characters;
  const Dword needed = static_cast<Dword>(sizeof(UnicodeString) + storage);
  if (returnLength) *returnLength = needed;
  if (!information || informationLength < needed) return kStatusInfoLengthMismatch;
  auto* head = static_cast<UnicodeString*>(information);
  head->Length = static_cast<Word>(characters);
  head->MaximumLength = static_cast<Word>(storage);
  head->Buffer = nullptr;
  if (storage) {
    head->Buffer = reinterpret_cast<Wchar*>(head + 1);
    std::memcpy(head->Buffer, process->imagePath.data(), characters);
    if (storage > characters) head->Buffer[process->imagePath.size()] = 0;
  }
  return kStatusSuccess;
}

Hmodule GetModuleHandleA(const char* moduleName) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetModuleHandleA") || !moduleName) return Hmodule{};
  const std::u16string name = sim::FoldAscii(sim::DecodeCp936(moduleName));
  return name == u"kernel32.dll" || name == u"kernel32" ? static_cast<Hmodule>(kKernel32) : Hmodule{};
}

FarProc GetProcAddress(Hmodule module, const char* procName) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetProcAddress") || Value(module) != kKernel32 || !procName) return nullptr;
  if (std::strcmp(procName, "GetSystemWow64DirectoryA") == 0 && world.processes.hasGetSystemWow64Directory)
    return reinterpret_cast<FarProc>(&SimGetSystemWow64DirectoryA);
  return nullptr;
}

}  // namespace win
