// Starting processes and handing targets to the shell.
#pragma once

#include "platform/file.h"
#include "platform/types.h"

namespace win {

inline constexpr Dword kStartfUseShowWindow = 0x1;

inline constexpr Word kSwHide = 0;
inline constexpr Word kSwShowNormal = 1;
inline constexpr Word kSwShowMinimized = 2;
inline constexpr Word kSwShowMaximized = 3;
inline constexpr Word kSwShowNoActivate = 4;
inline constexpr Word kSwMinimize = 6;

inline constexpr Dword kWaitObject0 = 0;
inline constexpr Dword kWaitTimeout = 0x102;
inline constexpr Dword kWaitFailed = 0xFFFFFFFF;

// Size of the record on 32-bit Windows, the platform the program is built for.
inline constexpr Dword kStartupInfoSize = 68;

struct StartupInfoA {
  Dword cb = 0;
  char* lpReserved = nullptr;
  char* lpDesktop = nullptr;
  char* lpTitle = nullptr;
  Dword dwX = 0, dwY = 0, dwXSize = 0, dwYSize = 0;
  Dword dwXCountChars = 0, dwYCountChars = 0, dwFillAttribute = 0;
  Dword dwFlags = 0;
  Word wShowWindow = 0;
  Word cbReserved2 = 0;
  Byte* lpReserved2 = nullptr;
  Handle hStdInput{}, hStdOutput{}, hStdError{};
};

struct ProcessInformation {
  Handle hProcess{};
  Handle hThread{};
  Dword dwProcessId = 0;
  Dword dwThreadId = 0;
};

// The command line must be writable, as the platform asks.
Bool CreateProcessA(const char* applicationName, char* commandLine, SecurityAttributes* processAttributes,
                    SecurityAttributes* threadAttributes, Bool inheritHandles, Dword creationFlags,
                    void* environment, const char* currentDirectory, StartupInfoA* startupInfo,
                    ProcessInformation* processInformation);
Dword WaitForSingleObject(Handle handle, Dword milliseconds);
// Waits until the process waits for input with nothing pending, at most
// `milliseconds`.
Dword WaitForInputIdle(Handle process, Dword milliseconds);
// A result above 32 means success.
Hmodule ShellExecuteA(Hwnd window, const char* operation, const char* file, const char* parameters,
                      const char* directory, int showCommand);

}  // namespace win
