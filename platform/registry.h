// The registry, read only.
#pragma once

#include "platform/types.h"

namespace win {

inline constexpr Hkey kHkeyClassesRoot = static_cast<Hkey>(0x80000000u);
inline constexpr Hkey kHkeyCurrentUser = static_cast<Hkey>(0x80000001u);
inline constexpr Hkey kHkeyLocalMachine = static_cast<Hkey>(0x80000002u);

inline constexpr Dword kKeyQueryValue = 0x1;
inline constexpr Dword kKeyWow6464Key = 0x100;
inline constexpr Dword kKeyWow6432Key = 0x200;

inline constexpr Dword kRegSz = 1;
inline constexpr Dword kRegBinary = 3;
inline constexpr Dword kRegDword = 4;

inline constexpr Long kErrorSuccess = 0;
inline constexpr Long kErrorFileNotFound = 2;
inline constexpr Long kErrorAccessDenied = 5;
inline constexpr Long kErrorInvalidHandle = 6;
inline constexpr Long kErrorMoreData = 234;

Long RegOpenKeyExW(Hkey key, const Wchar* subKey, Dword options, Dword desiredAccess, Hkey* result);
// With null data only the type and size are asked for.
Long RegQueryValueExW(Hkey key, const Wchar* valueName, Dword* reserved, Dword* type, Byte* data,
                      Dword* dataSize);
Long RegCloseKey(Hkey key);

}  // namespace win
