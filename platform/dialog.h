// Message boxes.
#pragma once

#include "platform/types.h"

namespace win {

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kMbTimedOut = 32000;

// A modal message box that closes itself after `milliseconds`: the id of
// the button that ended it, kMbTimedOut after the time-out, 0 when no box
// could be shown. Text and caption are code page 936 texts.
int MessageBoxTimeoutA(Hwnd owner, const char* text, const char* caption, Uint type, Word languageId,
                       Dword milliseconds);

}  // namespace win
