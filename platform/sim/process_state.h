// Simulated processes, listed in snapshot order, and the system facts that
// the process functions answer from: DOS devices, the debug privilege, the
// system's word size.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace sim {

struct SimProcess {
  win::Dword id = 0;
  std::string exeName;               // szExeFile of the snapshot record, code page 936
  std::u16string imagePath;          // what the native image-name query answers (NT form)
  bool mayOpen = true;               // OpenProcess succeeds
  bool needsDebugPrivilege = false;  // ...only while the debug privilege is on
  bool running = true;
  std::optional<win::Dword> exitCode;   // set once terminated
  std::string commandLine;              // for processes the code under test started
  std::optional<win::Word> showWindow;  // wShowWindow it was started with
  win::Dword parentId = 0;
};

// A snapshot of the running processes: what Process32First/Next walk.
struct SimSnapshot {
  std::vector<SimProcess> processes;
  std::size_t next = 0;
};

struct ProcessState {
  std::deque<SimProcess> list;  // deque: references stay valid as processes are added
  win::Dword selfId = 4242;     // the process under test; it is list[0] after reset
  win::Dword nextId = 5000;

  SimProcess& Add(std::string exeName, std::u16string imagePath, win::Dword id = 0);
  SimProcess* Find(win::Dword id);
  SimProcess& Self() { return *Find(selfId); }

  // Access rights each open process handle was given.
  std::map<std::uintptr_t, win::Dword> handleAccess;
  std::map<std::uintptr_t, SimSnapshot> snapshots;

  // The debug privilege of the process under test: whether the user holds
  // it, whether it is on, and every switch of it (true = on).
  bool mayEnableDebugPrivilege = true;
  bool debugPrivilegeOn = false;
  std::vector<bool> debugPrivilegeSwitches;

  // QueryDosDeviceW's answer per drive name ("C:"): the targets, each
  // NUL-terminated, and a final NUL, exactly as it is stored for the caller.
  std::map<std::u16string, std::u16string> dosDevices{{u"C:", Target(u"\\Device\\HarddiskVolume2")}};
  void SetDrive(const std::u16string& drive, const std::u16string& device) {
    dosDevices[drive] = Target(device);
  }
  static std::u16string Target(const std::u16string& device) { return device + u'\0' + u'\0'; }

  // The image-name answer without the terminator after the string
  // (MaximumLength equal to Length), as Wine 8 gives it.
  bool imageNameUnterminated = false;

  // The system's word size: a 64-bit system has a 32-bit-on-64-bit system
  // folder; kernel32 of very old systems lacks the function that tells.
  bool system64Bit = true;
  bool hasGetSystemWow64Directory = true;
  std::string wow64Directory = "C:\\Windows\\SysWOW64";
};

}  // namespace sim
