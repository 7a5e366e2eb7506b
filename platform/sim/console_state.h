// The simulated console: records each write with the attribute in force and
// the cursor where it began.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace sim {

struct ConsoleWriteRecord {
  std::string text;  // the bytes, code page 936
  win::Word attribute = 0;
  win::Short column = 0, row = 0;  // cursor where the write began
};

struct ConsoleState {
  bool isConsole = true;  // false: standard output is redirected (a file, a pipe)
  win::Short width = 80, height = 300;
  win::Short column = 0, row = 0;  // cursor
  win::Word attribute = 0x07;      // current character attribute
  std::vector<ConsoleWriteRecord> writes;
  std::string redirected;                   // what went to standard output while not a console
  std::vector<win::Word> attributeHistory;  // every SetConsoleTextAttribute
};

}  // namespace sim
