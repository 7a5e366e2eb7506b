// Program-wide state: created at start-up, alive until exit.
#pragma once

#include <string>
#include <string_view>

#include "installer/console/console_writer.h"
#include "platform/types.h"

namespace installer {

struct ProgramState {
  ConsoleWriter Console;         // writer of every console line
  win::Hwnd GameWindow{};        // the game's top-level window, 0 = none
  win::Dword GameProcessId = 0;  // the game's process, 0 = none
  std::string GameFolder;        // folder of the game's executable, ending in "\"
  std::string GameFileName;      // file name of the game's executable
};

ProgramState& Program();

// Start-up: a fresh state with a new console writer; the exit clean-up is
// registered once.
void StartUp();
// Exit clean-up: releases the writer and the game's texts.
void ReleaseProgramState();

// One installer line: at the cursor, in the given colours, through the
// program's writer. Its result is not looked at by any caller.
void WriteLine(ConsoleColor foreground, ConsoleColor background, std::string_view text);

// The entry's own routine: start-up, then one run of the installer.
int ProgramMain();

}  // namespace installer
