#include "platform/time.h"
#include "platform/win32/windows_api.h"

namespace win {

void Sleep(Dword milliseconds) { ::Sleep(milliseconds); }
Dword GetTickCount() { return ::GetTickCount(); }

}  // namespace win
