// Files and folders of the Win32 backend: narrow names are code page 936 and
// go to the W functions as UTF-16.
#include "platform/file.h"
#include "platform/win32/windows_api.h"

#include <shlwapi.h>

namespace win {

using native::FromNative;
using native::ToNative;

namespace {

// A name for the W functions; a null name stays null.
class WideName {
 public:
  explicit WideName(const char* name) : present_(name != nullptr) {
    if (name) text_ = native::Cp936ToWide(name);
  }
  const wchar_t* get() const { return present_ ? text_.c_str() : nullptr; }

 private:
  bool present_;
  std::wstring text_;
};

const wchar_t* Native(const Wchar* text) { return reinterpret_cast<const wchar_t*>(text); }

}  // namespace

// SecurityAttributes is never complete, so only null reaches these calls.
Handle CreateFileA(const char* fileName, Dword desiredAccess, Dword shareMode, SecurityAttributes*,
                   Dword creationDisposition, Dword flagsAndAttributes, Handle templateFile) {
  const WideName name(fileName);
  ::HANDLE file = ::CreateFileW(name.get(), desiredAccess, shareMode, nullptr, creationDisposition,
                                flagsAndAttributes, ToNative(templateFile));
  return file == INVALID_HANDLE_VALUE ? Handle{} : FromNative(file);
}

Bool DeleteFileA(const char* fileName) { return ::DeleteFileW(WideName(fileName).get()); }

Bool MoveFileExA(const char* existingFileName, const char* newFileName, Dword flags) {
  return ::MoveFileExW(WideName(existingFileName).get(), WideName(newFileName).get(), flags);
}

Bool CreateDirectoryW(const Wchar* pathName, SecurityAttributes*) {
  return ::CreateDirectoryW(Native(pathName), nullptr);
}

Bool PathIsDirectoryW(const Wchar* path) { return ::PathIsDirectoryW(Native(path)); }

}  // namespace win
