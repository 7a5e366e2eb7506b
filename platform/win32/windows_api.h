// The one place that includes <windows.h>, and the conversions between our
// opaque types and the platform's.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/types.h"

namespace win::native {

inline ::HANDLE ToNative(win::Handle h) { return reinterpret_cast<::HANDLE>(Value(h)); }
inline win::Handle FromNative(::HANDLE h) {
  return static_cast<win::Handle>(reinterpret_cast<std::uintptr_t>(h));
}
inline ::HWND ToNative(win::Hwnd h) { return reinterpret_cast<::HWND>(Value(h)); }
inline win::Hwnd FromNative(::HWND h) { return static_cast<win::Hwnd>(reinterpret_cast<std::uintptr_t>(h)); }
inline ::HKEY ToNative(win::Hkey h) { return reinterpret_cast<::HKEY>(Value(h)); }
inline win::Hkey FromNative(::HKEY h) { return static_cast<win::Hkey>(reinterpret_cast<std::uintptr_t>(h)); }

// Code page 936 text to UTF-16 and back, whatever the system's ANSI code
// page is: the A-named functions of our layer call the W functions with
// these. A null pointer stays null (nullopt / empty pointer semantics are
// the caller's).
std::wstring Cp936ToWide(std::string_view text);
std::string WideToCp936(std::wstring_view wide);

// Looks a function up by name in a loaded (or loadable) system library.
FARPROC Lookup(const char* library, const char* function);

template <class F>
F LookupAs(const char* library, const char* function) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(Lookup(library, function)));
}

}  // namespace win::native
