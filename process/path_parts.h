// The folder and the file name of a full path, and the two small system
// queries the file name needs.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace process {

// The folder part with its closing backslash ("C:\Games\x.exe" ->
// "C:\Games\"); one final backslash is dropped first. Empty when no
// backslash is left.
std::string GetPathDirectory(std::string_view path);

// The file name, extension included for a file, whatever Explorer's
// "hide extensions" setting says; empty when the system gives no title.
std::string GetPathFileName(std::string_view path);

// True on a 64-bit system (one with a 32-bit-on-64-bit system folder).
bool IsSystem64Bit();

// The value's data as a 32-bit number; 0 when the root is 0 or the key or
// value cannot be read. Longer data gives its first four bytes.
win::Dword ReadRegistryDword(win::Hkey root, std::string_view subKey, std::string_view valueName,
                             bool use64BitView);

}  // namespace process
