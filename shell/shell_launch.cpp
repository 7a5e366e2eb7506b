#include "shell/shell_launch.h"

#include <algorithm>
#include <string>

#include "platform/handles.h"
#include "platform/launch.h"
#include "text/text_ops.h"

namespace shell {

namespace {

// wShowWindow for show modes 1 to 6.
constexpr win::Word kShowWindowOf[] = {win::kSwHide,          win::kSwShowNormal,     win::kSwShowMinimized,
                                       win::kSwShowMaximized, win::kSwShowNoActivate, win::kSwMinimize};

constexpr win::Dword kReadyWait = 1000;

}  // namespace

void ShellOpen(std::string_view target) {
  const std::string file(text::UpToNul(target));
  win::ShellExecuteA(win::Hwnd{}, "open", file.c_str(), "", "", win::kSwShowNormal);
}

bool RunCommandLine(std::string_view commandLine, bool wait, std::optional<int> showMode) {
  const int mode = std::clamp(showMode.value_or(2), 1, 6);
  win::StartupInfoA startup;
  startup.cb = win::kStartupInfoSize;
  startup.dwFlags = win::kStartfUseShowWindow;
  startup.wShowWindow = kShowWindowOf[mode - 1];
  std::string line(text::UpToNul(commandLine));  // writable, as the platform asks
  win::ProcessInformation created;
  if (!win::CreateProcessA(nullptr, line.data(), nullptr, nullptr, win::kFalse, 0, nullptr, nullptr, &startup,
                           &created))
    return false;
  if (wait)
    win::WaitForSingleObject(created.hProcess, win::kInfinite);
  else
    win::WaitForInputIdle(created.hProcess, kReadyWait);
  win::CloseHandle(created.hThread);
  win::CloseHandle(created.hProcess);
  return true;
}

}  // namespace shell
