// Waits and the tick counter.
#pragma once

#include "platform/types.h"

namespace win {

void Sleep(Dword milliseconds);
Dword GetTickCount();

}  // namespace win
