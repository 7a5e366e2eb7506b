#include "platform/win32/windows_api.h"

namespace win::native {

namespace {
constexpr Uint kGbk = 936;
}

std::wstring Cp936ToWide(std::string_view text) {
  if (text.empty()) return {};
  const int n = ::MultiByteToWideChar(kGbk, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(kGbk, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string WideToCp936(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
  if (n <= 0) return {};
  std::string text(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr,
                        nullptr);
  return text;
}

FARPROC Lookup(const char* library, const char* function) {
  ::HMODULE module = ::GetModuleHandleA(library);
  if (!module) module = ::LoadLibraryA(library);
  return module ? ::GetProcAddress(module, function) : nullptr;
}

}  // namespace win::native
