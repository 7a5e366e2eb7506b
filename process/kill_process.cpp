#include "process/kill_process.h"

#include "platform/handles.h"
#include "platform/process.h"

namespace process {

bool KillProcess(std::optional<win::Dword> processId) {
  const win::Dword id = processId.value_or(0);
  // No privilege is switched on here: a process the user may not end stays.
  const win::Handle handle =
      id != 0 ? win::OpenProcess(win::kProcessTerminate, win::kFalse, id) : win::GetCurrentProcess();
  if (win::IsNull(handle)) return false;
  const bool ended = win::TerminateProcess(handle, 0) != 0;
  win::CloseHandle(handle);
  return ended;
}

}  // namespace process
