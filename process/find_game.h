// Finding a running program by its window title or its executable's name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace process {

// The first window under `parent` (0: the top-level windows) after
// `childAfter` whose class and title match; left-out names match every
// class or title. A title must equal the whole window text, letter case
// not counting. 0 when none matches.
win::Hwnd FindGameWindow(std::optional<win::Hwnd> parent = std::nullopt,
                         std::optional<win::Hwnd> childAfter = std::nullopt,
                         std::optional<std::string> className = std::nullopt,
                         std::optional<std::string> title = std::nullopt);

// Id of the first process in snapshot order whose executable file name
// equals `exeName` with A-Z folded (both bytes of a two-byte character kept
// as they are); 0 when there is none.
win::Dword FindProcessByName(std::string_view exeName);

}  // namespace process
