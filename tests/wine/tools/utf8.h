// UTF-16 to UTF-8 for what the Windows-side test programs write for Python.
#pragma once

#include <windows.h>

#include <string>

inline std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}
