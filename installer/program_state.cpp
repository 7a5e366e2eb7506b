#include "installer/program_state.h"

#include <cstdlib>

#include "installer/run_installer.h"

namespace installer {

ProgramState& Program() {
  static ProgramState state;
  return state;
}

void StartUp() {
  Program() = ProgramState{};
  Program().Console = ConsoleWriter::Create();
  static const bool registered = std::atexit(ReleaseProgramState) == 0;
  (void)registered;
}

void ReleaseProgramState() {
  ProgramState& state = Program();
  state.Console.Release();
  state.GameFolder = std::string();
  state.GameFileName = std::string();
}

void WriteLine(ConsoleColor foreground, ConsoleColor background, std::string_view text) {
  ConsoleWrite(Program().Console, std::nullopt, std::nullopt, false, foreground, background, text);
}

int ProgramMain() {
  StartUp();
  RunInstaller();
  return 0;
}

}  // namespace installer
