// A modal message box that closes itself after a time-out, and the search
// for a window of a process that it uses to find its owner.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace shell {

// Button code: MessageBoxTimeoutA's result minus one (0 OK, 1 Cancel,
// 31999 time-out, -1 no box). Left-out arguments take their defaults: style
// 0, title "友情提醒", owner found with FindProcessWindow, time-out 5000 ms.
int TimedMessageBox(std::string_view text, std::optional<win::Uint> style = std::nullopt,
                    std::optional<std::string> title = std::nullopt,
                    std::optional<win::Hwnd> owner = std::nullopt,
                    std::optional<win::Dword> timeout = std::nullopt);

// First visible (unless visibleOnly is false), parentless top-level window of
// the process whose class and caption contain the given filters.
win::Hwnd FindProcessWindow(win::Dword processId, std::optional<std::string> caption = std::nullopt,
                            std::optional<std::string> className = std::nullopt,
                            std::optional<std::int32_t> timeLimit = std::nullopt,
                            std::optional<bool> visibleOnly = std::nullopt);

std::string GetWindowClassText(win::Hwnd window);
std::string GetWindowTitleText(win::Hwnd window);

}  // namespace shell
