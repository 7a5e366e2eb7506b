// Window functions: the A-named ones take code page 936 text and call the W
// functions.
#include <cstring>
#include <string>

#include "platform/dialog.h"
#include "platform/win32/windows_api.h"
#include "platform/window.h"
#include "text/text_ops.h"

namespace win {

using native::FromNative;
using native::ToNative;

namespace {

const wchar_t* WideOrNull(const char* text, std::wstring& storage) {
  if (!text) return nullptr;
  storage = native::Cp936ToWide(text);
  return storage.c_str();
}

::MSG ToNativeMsg(const Msg& msg) {
  ::MSG out{};
  out.hwnd = ToNative(msg.hwnd);
  out.message = msg.message;
  out.wParam = msg.wParam;
  out.lParam = msg.lParam;
  out.time = msg.time;
  out.pt.x = msg.pt.x;
  out.pt.y = msg.pt.y;
  return out;
}

}  // namespace

Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* windowName) {
  std::wstring wideClass, wideTitle;
  return FromNative(::FindWindowExW(ToNative(parent), ToNative(childAfter), WideOrNull(className, wideClass),
                                    WideOrNull(windowName, wideTitle)));
}

Dword GetWindowThreadProcessId(Hwnd window, Dword* processId) {
  ::DWORD id = processId ? *processId : 0;
  const ::DWORD thread = ::GetWindowThreadProcessId(ToNative(window), processId ? &id : nullptr);
  if (processId) *processId = id;
  return thread;
}

Bool IsWindowVisible(Hwnd window) { return ::IsWindowVisible(ToNative(window)); }

Hwnd GetParent(Hwnd window) { return FromNative(::GetParent(ToNative(window))); }

int GetClassNameA(Hwnd window, char* className, int maxCount) {
  if (!className || maxCount <= 0) return 0;
  wchar_t wide[512] = {};  // class names have at most 256 characters
  const int units = ::GetClassNameW(ToNative(window), wide, static_cast<int>(std::size(wide)));
  if (units <= 0) {
    className[0] = '\0';
    return 0;
  }
  const std::string name = native::WideToCp936(std::wstring_view(wide, static_cast<std::size_t>(units)));
  // Whole characters only, with room for the NUL.
  const std::size_t n = text::WholeCharactersWithin(name, static_cast<std::size_t>(maxCount - 1));
  std::memcpy(className, name.data(), n);
  className[n] = '\0';
  return static_cast<int>(n);
}

int GetWindowTextLengthW(Hwnd window) { return ::GetWindowTextLengthW(ToNative(window)); }

int GetWindowTextW(Hwnd window, Wchar* text, int maxCount) {
  return ::GetWindowTextW(ToNative(window), reinterpret_cast<wchar_t*>(text), maxCount);
}

Bool PeekMessageA(Msg* msg, Hwnd window, Uint filterMin, Uint filterMax, Uint removeMessage) {
  if (!msg) return FALSE;
  ::MSG native{};
  if (!::PeekMessageA(&native, ToNative(window), filterMin, filterMax, removeMessage)) return FALSE;
  *msg = Msg{FromNative(native.hwnd), native.message, native.wParam,
             native.lParam,           native.time,    Point{native.pt.x, native.pt.y}};
  return TRUE;
}

Bool TranslateMessage(const Msg* msg) {
  if (!msg) return FALSE;
  const ::MSG native = ToNativeMsg(*msg);
  return ::TranslateMessage(&native);
}

std::intptr_t DispatchMessageA(const Msg* msg) {
  if (!msg) return 0;
  const ::MSG native = ToNativeMsg(*msg);
  return ::DispatchMessageA(&native);
}

int MessageBoxTimeoutA(Hwnd owner, const char* text, const char* caption, Uint type, Word languageId,
                       Dword milliseconds) {
  // Not in the import libraries: looked up in user32 at the first call.
  using Function = int(WINAPI*)(::HWND, ::LPCWSTR, ::LPCWSTR, ::UINT, ::WORD, ::DWORD);
  static const Function function = native::LookupAs<Function>("user32.dll", "MessageBoxTimeoutW");
  if (!function) return 0;
  std::wstring wideText, wideCaption;
  return function(ToNative(owner), WideOrNull(text, wideText), WideOrNull(caption, wideCaption), type,
                  languageId, milliseconds);
}

}  // namespace win
