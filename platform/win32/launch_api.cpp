// Processes and the shell in the Win32 backend: narrow texts are code page
// 936 and go to the W functions as UTF-16.
#include "platform/launch.h"
#include "platform/win32/windows_api.h"

#include <shellapi.h>

namespace win {

using native::FromNative;
using native::ToNative;

namespace {

// A text for the W functions; a null text stays null, an empty one stays an
// empty text.
class WideText {
 public:
  explicit WideText(const char* text) : present_(text != nullptr) {
    if (text) text_ = native::Cp936ToWide(text);
  }
  const wchar_t* get() const { return present_ ? text_.c_str() : nullptr; }
  wchar_t* writable() { return present_ ? text_.data() : nullptr; }

 private:
  bool present_;
  std::wstring text_;
};

}  // namespace

Bool CreateProcessA(const char* applicationName, char* commandLine, SecurityAttributes*, SecurityAttributes*,
                    Bool inheritHandles, Dword creationFlags, void* environment, const char* currentDirectory,
                    StartupInfoA* startupInfo, ProcessInformation* processInformation) {
  if (!startupInfo || !processInformation) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const WideText application(applicationName);
  WideText line(commandLine);  // CreateProcessW may write into its command line
  const WideText directory(currentDirectory);
  WideText desktop(startupInfo->lpDesktop);
  WideText title(startupInfo->lpTitle);

  ::STARTUPINFOW info{};
  info.cb = sizeof info;
  info.lpDesktop = desktop.writable();
  info.lpTitle = title.writable();
  info.dwX = startupInfo->dwX;
  info.dwY = startupInfo->dwY;
  info.dwXSize = startupInfo->dwXSize;
  info.dwYSize = startupInfo->dwYSize;
  info.dwXCountChars = startupInfo->dwXCountChars;
  info.dwYCountChars = startupInfo->dwYCountChars;
  info.dwFillAttribute = startupInfo->dwFillAttribute;
  info.dwFlags = startupInfo->dwFlags;
  info.wShowWindow = startupInfo->wShowWindow;
  info.hStdInput = ToNative(startupInfo->hStdInput);
  info.hStdOutput = ToNative(startupInfo->hStdOutput);
  info.hStdError = ToNative(startupInfo->hStdError);

  ::PROCESS_INFORMATION created{};
  // Environment blocks are narrow here: without CREATE_UNICODE_ENVIRONMENT
  // the W function reads them as such.
  if (!::CreateProcessW(application.get(), line.writable(), nullptr, nullptr, inheritHandles, creationFlags,
                        environment, directory.get(), &info, &created))
    return FALSE;
  processInformation->hProcess = FromNative(created.hProcess);
  processInformation->hThread = FromNative(created.hThread);
  processInformation->dwProcessId = created.dwProcessId;
  processInformation->dwThreadId = created.dwThreadId;
  return TRUE;
}

Dword WaitForSingleObject(Handle handle, Dword milliseconds) {
  return ::WaitForSingleObject(ToNative(handle), milliseconds);
}

Dword WaitForInputIdle(Handle process, Dword milliseconds) {
  return ::WaitForInputIdle(ToNative(process), milliseconds);
}

Hmodule ShellExecuteA(Hwnd window, const char* operation, const char* file, const char* parameters,
                      const char* directory, int showCommand) {
  const WideText verb(operation), target(file), arguments(parameters), folder(directory);
  ::HINSTANCE result =
      ::ShellExecuteW(ToNative(window), verb.get(), target.get(), arguments.get(), folder.get(), showCommand);
  return static_cast<Hmodule>(reinterpret_cast<std::uintptr_t>(result));
}

}  // namespace win
