// Paths: DOS device names, file titles and attributes, extensions.
#pragma once

#include "platform/file.h"
#include "platform/types.h"

namespace win {

inline constexpr Dword kInvalidFileAttributes = 0xFFFFFFFF;

// Targets of a DOS device name ("C:"), each NUL-terminated, then a final
// NUL; the count of code units stored, 0 on failure.
Dword QueryDosDeviceW(const Wchar* deviceName, Wchar* targetPath, Dword maxCount);

// The file name as the system shows it to the user (without its extension
// when the user's settings hide it): 0 on success, the needed size in code
// units when `title` is too small, a negative number on error.
Short GetFileTitleW(const Wchar* file, Wchar* title, Word titleSize);

// kInvalidFileAttributes when the path cannot be examined.
Dword GetFileAttributesW(const Wchar* fileName);

// Where the extension of the path's last component begins (its last '.'),
// or its terminating NUL when it has none; null for a null path.
const Wchar* PathFindExtensionW(const Wchar* path);

}  // namespace win
