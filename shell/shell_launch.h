// Starting programs and handing documents or URLs to the shell.
#pragma once

#include <optional>
#include <string_view>

namespace shell {

// The shell's "open" action on a document, folder or URL.
void ShellOpen(std::string_view target);

// Starts a program from a command line. Show mode 1 to 6 (left out: 2, a
// normal window; clamped into 1..6). With wait, returns after the program
// ended; without, once it is ready for input or after at most 1000 ms.
// True when the process was created.
bool RunCommandLine(std::string_view commandLine, bool wait, std::optional<int> showMode = std::nullopt);

}  // namespace shell
