// Registry functions, read only.
#include "platform/win32/windows_api.h"

#include "platform/registry.h"

namespace win {

using native::FromNative;
using native::ToNative;

Long RegOpenKeyExW(Hkey key, const Wchar* subKey, Dword options, Dword desiredAccess, Hkey* result) {
  ::HKEY opened = nullptr;
  const ::LONG status = ::RegOpenKeyExW(ToNative(key), reinterpret_cast<const wchar_t*>(subKey), options,
                                        desiredAccess, &opened);
  if (result) *result = status == ERROR_SUCCESS ? FromNative(opened) : Hkey{};
  return status;
}

Long RegQueryValueExW(Hkey key, const Wchar* valueName, Dword* reserved, Dword* type, Byte* data,
                      Dword* dataSize) {
  ::DWORD nativeType = 0;
  ::DWORD size = dataSize ? *dataSize : 0;
  const ::LONG status = ::RegQueryValueExW(ToNative(key), reinterpret_cast<const wchar_t*>(valueName),
                                           reinterpret_cast<::LPDWORD>(reserved),
                                           type ? &nativeType : nullptr, data, dataSize ? &size : nullptr);
  if (type) *type = nativeType;
  if (dataSize) *dataSize = size;
  return status;
}

Long RegCloseKey(Hkey key) { return ::RegCloseKey(ToNative(key)); }

}  // namespace win
