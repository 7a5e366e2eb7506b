// Kernel-object handles.
#pragma once

#include "platform/types.h"

namespace win {

Bool CloseHandle(Handle handle);

}  // namespace win
