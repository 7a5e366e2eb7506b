// Files and folders.
#pragma once

#include "platform/types.h"

namespace win {

inline constexpr Dword kGenericRead = 0x80000000;
inline constexpr Dword kGenericWrite = 0x40000000;

inline constexpr Dword kFileShareRead = 0x1;
inline constexpr Dword kFileShareWrite = 0x2;
inline constexpr Dword kFileShareDelete = 0x4;

inline constexpr Dword kCreateNew = 1;
inline constexpr Dword kCreateAlways = 2;
inline constexpr Dword kOpenExisting = 3;

inline constexpr Dword kFileAttributeReadonly = 0x1;
inline constexpr Dword kFileAttributeDirectory = 0x10;
inline constexpr Dword kFileAttributeNormal = 0x80;

inline constexpr Dword kMovefileReplaceExisting = 0x1;

// Security attributes are never passed: callers hand over null.
struct SecurityAttributes;

// Opens or creates a file. Unlike the platform's own value, a failure is the
// null handle here.
Handle CreateFileA(const char* fileName, Dword desiredAccess, Dword shareMode,
                   SecurityAttributes* securityAttributes, Dword creationDisposition,
                   Dword flagsAndAttributes, Handle templateFile);
Bool DeleteFileA(const char* fileName);
Bool MoveFileExA(const char* existingFileName, const char* newFileName, Dword flags);
Bool CreateDirectoryW(const Wchar* pathName, SecurityAttributes* securityAttributes);
// kFileAttributeDirectory for an existing folder, 0 otherwise.
Bool PathIsDirectoryW(const Wchar* path);

}  // namespace win
