#include "shell/timed_message_box.h"

#include <algorithm>

#include "platform/dialog.h"
#include "platform/process.h"
#include "platform/time.h"
#include "platform/window.h"
#include "process/text_conversion.h"
#include "text/text_ops.h"

namespace shell {

namespace {

constexpr std::int32_t kDefaultTimeLimit = 31'536'000;  // ms
constexpr std::int32_t kOwnerSearchLimit = 1000;        // ms
constexpr win::Dword kDefaultTimeout = 5000;            // ms

// A filter is contained in a non-empty text that holds it (case counting,
// never from inside a two-byte character); an empty text contains nothing.
bool Holds(const std::string& text, const std::string& filter) {
  return !text.empty() && text::Contains(text, filter);
}

// Lets the windows of this thread run while the search goes on; a WM_QUIT
// stays in the queue for whoever owns the loop.
void DispatchWaitingMessages() {
  win::Msg msg;
  while (win::PeekMessageA(&msg, win::Hwnd{}, 0, 0, win::kPmNoRemove) && msg.message != win::kWmQuit) {
    if (!win::PeekMessageA(&msg, win::Hwnd{}, 0, 0, win::kPmRemove)) break;
    win::TranslateMessage(&msg);
    win::DispatchMessageA(&msg);
  }
}

}  // namespace

int TimedMessageBox(std::string_view text, std::optional<win::Uint> style, std::optional<std::string> title,
                    std::optional<win::Hwnd> owner, std::optional<win::Dword> timeout) {
  const win::Hwnd boxOwner =
      owner ? *owner
            : FindProcessWindow(win::GetCurrentProcessId(), std::nullopt, std::nullopt, kOwnerSearchLimit);
  const std::string caption(text::UpToNul(title ? *title : std::string("友情提醒")));
  const std::string body(text::UpToNul(text));
  // Language 0: the system chooses the language of the button captions.
  const int result = win::MessageBoxTimeoutA(boxOwner, body.c_str(), caption.c_str(), style.value_or(0), 0,
                                             timeout.value_or(kDefaultTimeout));
  return result - 1;
}

win::Hwnd FindProcessWindow(win::Dword processId, std::optional<std::string> caption,
                            std::optional<std::string> className, std::optional<std::int32_t> timeLimit,
                            std::optional<bool> visibleOnly) {
  const win::Dword start = win::GetTickCount();
  const std::int32_t limit = timeLimit && *timeLimit >= 0 ? *timeLimit : kDefaultTimeLimit;
  const bool onlyVisible = visibleOnly.value_or(true);
  win::Hwnd previous{};
  // One pass over the top-level windows, topmost first.
  while (static_cast<win::Dword>(win::GetTickCount() - start) < static_cast<win::Dword>(limit)) {
    const win::Hwnd window = win::FindWindowExA(win::Hwnd{}, previous, nullptr, nullptr);
    previous = window;
    if (win::IsNull(window)) return win::Hwnd{};
    if (onlyVisible && !win::IsWindowVisible(window)) continue;
    win::Dword owner = 0;
    win::GetWindowThreadProcessId(window, &owner);
    if (owner == processId && win::IsNull(win::GetParent(window))) {
      const std::string windowClass = GetWindowClassText(window);
      const std::string windowCaption = GetWindowTitleText(window);
      if ((!className || Holds(windowClass, *className)) && (!caption || Holds(windowCaption, *caption)))
        return window;
    }
    DispatchWaitingMessages();
  }
  return win::Hwnd{};
}

std::string GetWindowClassText(win::Hwnd window) {
  char name[261] = {};
  const int n = win::GetClassNameA(window, name, 260);
  return n > 0 ? std::string(name, static_cast<std::size_t>(std::min(n, 260))) : std::string();
}

std::string GetWindowTitleText(win::Hwnd window) {
  const int n = win::GetWindowTextLengthW(window);
  if (n <= 0) return {};
  text::ByteBuffer buffer((static_cast<std::size_t>(n) + 1) * sizeof(win::Wchar), 0);
  win::GetWindowTextW(window, reinterpret_cast<win::Wchar*>(buffer.data()), n + 1);
  return process::WideToText(buffer);
}

}  // namespace shell
