#include "platform/console.h"
#include "platform/win32/windows_api.h"

namespace win {

using native::FromNative;
using native::ToNative;

Handle GetStdHandle(Dword nStdHandle) {
  ::HANDLE h = ::GetStdHandle(nStdHandle);
  return h == INVALID_HANDLE_VALUE ? Handle{} : FromNative(h);
}

Bool GetConsoleScreenBufferInfo(Handle console, ConsoleScreenBufferInfo* info) {
  ::CONSOLE_SCREEN_BUFFER_INFO native{};
  if (!info || !::GetConsoleScreenBufferInfo(ToNative(console), &native)) return FALSE;
  info->dwSize = {native.dwSize.X, native.dwSize.Y};
  info->dwCursorPosition = {native.dwCursorPosition.X, native.dwCursorPosition.Y};
  info->wAttributes = native.wAttributes;
  info->srWindow = {native.srWindow.Left, native.srWindow.Top, native.srWindow.Right, native.srWindow.Bottom};
  info->dwMaximumWindowSize = {native.dwMaximumWindowSize.X, native.dwMaximumWindowSize.Y};
  return TRUE;
}

Bool SetConsoleCursorPosition(Handle console, Coord position) {
  return ::SetConsoleCursorPosition(ToNative(console), ::COORD{position.X, position.Y});
}

Bool SetConsoleTextAttribute(Handle console, Word attributes) {
  return ::SetConsoleTextAttribute(ToNative(console), attributes);
}

Bool WriteFile(Handle file, const void* buffer, Dword bytesToWrite, Dword* bytesWritten) {
  ::DWORD written = 0;
  if (bytesWritten) *bytesWritten = 0;
  ::DWORD mode = 0;
  if (::GetConsoleMode(ToNative(file), &mode)) {
    // A console shows UTF-16; the bytes are code page 936 whatever the
    // console's own code page says.
    const std::wstring wide =
        native::Cp936ToWide(std::string_view(static_cast<const char*>(buffer), buffer ? bytesToWrite : 0));
    ::DWORD units = 0;
    if (!wide.empty() &&
        !::WriteConsoleW(ToNative(file), wide.data(), static_cast<::DWORD>(wide.size()), &units, nullptr))
      return FALSE;
    if (bytesWritten) *bytesWritten = bytesToWrite;
    return TRUE;
  }
  const Bool ok = ::WriteFile(ToNative(file), buffer, bytesToWrite, &written, nullptr);
  if (bytesWritten) *bytesWritten = written;
  return ok;
}

Bool FlushFileBuffers(Handle file) {
  ::DWORD mode = 0;
  if (::GetConsoleMode(ToNative(file), &mode)) return TRUE;  // unbuffered
  return ::FlushFileBuffers(ToNative(file));
}

}  // namespace win
