// Console and standard streams.
#pragma once

#include <optional>

#include "platform/types.h"

namespace win {

inline constexpr Dword kStdInputHandle = static_cast<Dword>(-10);
inline constexpr Dword kStdOutputHandle = static_cast<Dword>(-11);
inline constexpr Dword kStdErrorHandle = static_cast<Dword>(-12);

struct Coord {
  Short X = 0;
  Short Y = 0;
};

struct SmallRect {
  Short Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct ConsoleScreenBufferInfo {
  Coord dwSize;
  Coord dwCursorPosition;
  Word wAttributes = 0;
  SmallRect srWindow;
  Coord dwMaximumWindowSize;
};

Handle GetStdHandle(Dword nStdHandle);
Bool GetConsoleScreenBufferInfo(Handle console, ConsoleScreenBufferInfo* info);
Bool SetConsoleCursorPosition(Handle console, Coord position);
Bool SetConsoleTextAttribute(Handle console, Word attributes);

// Writes bytes to a file or device. On a console the bytes are code page 936
// text and are shown as such whatever the console's own code page.
Bool WriteFile(Handle file, const void* buffer, Dword bytesToWrite, Dword* bytesWritten);

// Flushes buffered data of a file; on a console there is nothing to flush.
Bool FlushFileBuffers(Handle file);

}  // namespace win
