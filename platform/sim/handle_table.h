// Kernel-object handles of the simulation, with a record of what was opened
// and closed so that tests can prove every handle is released.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/types.h"

namespace sim {

enum class HandleKind { ConsoleInput, ConsoleOutput, Process, Thread, Snapshot, File, Other };

struct HandleEntry {
  HandleKind kind = HandleKind::Other;
  std::uint32_t object = 0;  // what it refers to: process id, file node id...
  std::string note;          // free text for diagnostics (a path, a name)
};

class HandleTable {
 public:
  win::Handle Open(HandleKind kind, std::uint32_t object = 0, std::string note = {});
  // False for a handle that is not open (closing twice is a fault).
  bool Close(win::Handle handle);
  const HandleEntry* Find(win::Handle handle) const;
  // Handles open now, leaving out the standard handles a process is born with.
  int OpenCount() const;
  std::map<std::uintptr_t, HandleEntry> open;
  int badCloses = 0;

 private:
  std::uintptr_t next_ = 0x100;
};

}  // namespace sim
