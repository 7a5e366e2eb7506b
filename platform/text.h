// Code-page conversions between narrow and UTF-16 text.
#pragma once

#include "platform/types.h"

namespace win {

inline constexpr Uint kCpUtf8 = 65001;

// cbMultiByte / cchWideChar of -1 means "up to and including the NUL".
int MultiByteToWideChar(Uint codePage, Dword flags, const char* multiByte, int cbMultiByte, Wchar* wide,
                        int cchWideChar);
int WideCharToMultiByte(Uint codePage, Dword flags, const Wchar* wide, int cchWideChar, char* multiByte,
                        int cbMultiByte, const char* defaultChar, Bool* usedDefaultChar);
int lstrlenW(const Wchar* text);

}  // namespace win
