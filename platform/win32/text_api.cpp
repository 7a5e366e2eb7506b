#include "platform/text.h"
#include "platform/win32/windows_api.h"

namespace win {

int MultiByteToWideChar(Uint codePage, Dword flags, const char* multiByte, int cbMultiByte, Wchar* wide,
                        int cchWideChar) {
  return ::MultiByteToWideChar(codePage, flags, multiByte, cbMultiByte, reinterpret_cast<wchar_t*>(wide),
                               cchWideChar);
}

int WideCharToMultiByte(Uint codePage, Dword flags, const Wchar* wide, int cchWideChar, char* multiByte,
                        int cbMultiByte, const char* defaultChar, Bool* usedDefaultChar) {
  ::BOOL used = FALSE;
  const int n = ::WideCharToMultiByte(codePage, flags, reinterpret_cast<const wchar_t*>(wide), cchWideChar,
                                      multiByte, cbMultiByte, defaultChar, usedDefaultChar ? &used : nullptr);
  if (usedDefaultChar) *usedDefaultChar = used;
  return n;
}

int lstrlenW(const Wchar* text) { return ::lstrlenW(reinterpret_cast<const wchar_t*>(text)); }

}  // namespace win
