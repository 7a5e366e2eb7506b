#include "process/find_game.h"

#include "platform/handles.h"
#include "platform/process.h"
#include "platform/window.h"
#include "text/text_ops.h"

namespace process {

namespace {

const char* TextOrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

}  // namespace

win::Hwnd FindGameWindow(std::optional<win::Hwnd> parent, std::optional<win::Hwnd> childAfter,
                         std::optional<std::string> className, std::optional<std::string> title) {
  return win::FindWindowExA(parent.value_or(win::Hwnd{}), childAfter.value_or(win::Hwnd{}),
                            TextOrNull(className), TextOrNull(title));
}

win::Dword FindProcessByName(std::string_view exeName) {
  const win::Handle snapshot = win::CreateToolhelp32Snapshot(win::kTh32csSnapProcess, 0);
  if (snapshot == win::kInvalidHandleValue || win::IsNull(snapshot)) return 0;
  const std::string wanted = text::Lower(text::UpToNul(exeName));
  win::ProcessEntry32 entry;
  entry.dwSize = sizeof entry;
  win::Dword found = 0;
  for (bool more = win::Process32First(snapshot, &entry) != 0; more;
       more = win::Process32Next(snapshot, &entry) != 0) {
    const std::string_view name(entry.szExeFile, sizeof entry.szExeFile);
    if (text::Lower(text::UpToNul(name)) == wanted) {
      found = entry.th32ProcessID;
      break;
    }
  }
  win::CloseHandle(snapshot);
  return found;
}

}  // namespace process
