// Top-level windows and the calling thread's message queue.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace win {

inline constexpr Uint kPmNoRemove = 0x0;
inline constexpr Uint kPmRemove = 0x1;
inline constexpr Uint kWmQuit = 0x12;

struct Point {
  Long x = 0;
  Long y = 0;
};

struct Msg {
  Hwnd hwnd{};
  Uint message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  Dword time = 0;
  Point pt;
};

// className and windowName are code page 936 texts; null matches every
// class or every title. A title must equal the whole window text, letter
// case not counting.
Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* windowName);

// Thread id of the window's creator, 0 for no window (processId is then
// left as it was).
Dword GetWindowThreadProcessId(Hwnd window, Dword* processId);
Bool IsWindowVisible(Hwnd window);
// The parent of a child window, the owner of an owned pop-up, else 0.
Hwnd GetParent(Hwnd window);

// Class name as code page 936 text, cut to whole characters that fit in
// maxCount - 1 bytes; the count of bytes stored, 0 on failure.
int GetClassNameA(Hwnd window, char* className, int maxCount);
int GetWindowTextLengthW(Hwnd window);
int GetWindowTextW(Hwnd window, Wchar* text, int maxCount);

Bool PeekMessageA(Msg* msg, Hwnd window, Uint filterMin, Uint filterMax, Uint removeMessage);
Bool TranslateMessage(const Msg* msg);
std::intptr_t DispatchMessageA(const Msg* msg);

}  // namespace win
