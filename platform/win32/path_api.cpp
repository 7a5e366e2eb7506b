// Path functions.
#include "platform/win32/windows_api.h"

#include <commdlg.h>
#include <shlwapi.h>

#include "platform/path.h"

namespace win {

namespace {
const wchar_t* Native(const Wchar* text) { return reinterpret_cast<const wchar_t*>(text); }
}  // namespace

Dword QueryDosDeviceW(const Wchar* deviceName, Wchar* targetPath, Dword maxCount) {
  return ::QueryDosDeviceW(Native(deviceName), reinterpret_cast<wchar_t*>(targetPath), maxCount);
}

Short GetFileTitleW(const Wchar* file, Wchar* title, Word titleSize) {
  return ::GetFileTitleW(Native(file), reinterpret_cast<wchar_t*>(title), titleSize);
}

Dword GetFileAttributesW(const Wchar* fileName) { return ::GetFileAttributesW(Native(fileName)); }

const Wchar* PathFindExtensionW(const Wchar* path) {
  return reinterpret_cast<const Wchar*>(::PathFindExtensionW(Native(path)));
}

}  // namespace win
