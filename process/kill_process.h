// Ending a process at once.
#pragma once

#include <optional>

#include "platform/types.h"

namespace process {

// True when the platform terminated the process (exit code 0). Left out or
// 0: the calling process itself.
bool KillProcess(std::optional<win::Dword> processId = std::nullopt);

}  // namespace process
