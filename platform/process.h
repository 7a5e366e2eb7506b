// Processes: the snapshot walk, opening and ending, the native image-name
// query, the debug privilege, and looking up functions of system modules.
#pragma once

#include <cstdint>

#include "platform/types.h"

// The calling convention of system functions reached through a looked-up
// address (stdcall on 32-bit x86 Windows).
#if defined(_WIN32) && defined(__i386__)
#define TW_SYSTEM_CALL __attribute__((stdcall))
#else
#define TW_SYSTEM_CALL
#endif

namespace win {

inline constexpr Handle kInvalidHandleValue = static_cast<Handle>(~std::uintptr_t{0});

inline constexpr Dword kTh32csSnapProcess = 0x2;
inline constexpr Dword kProcessTerminate = 0x1;
inline constexpr Dword kProcessQueryInformation = 0x400;
inline constexpr Dword kProcessQueryLimitedInformation = 0x1000;

inline constexpr Dword kSeDebugPrivilege = 20;
inline constexpr Dword kProcessImageFileName = 27;  // information class

inline constexpr NtStatus kStatusSuccess = 0;
inline constexpr NtStatus kStatusUnsuccessful = 0xC0000001;
inline constexpr NtStatus kStatusInvalidInfoClass = 0xC0000003;
inline constexpr NtStatus kStatusInfoLengthMismatch = 0xC0000004;
inline constexpr NtStatus kStatusInvalidHandle = 0xC0000008;
inline constexpr NtStatus kStatusAccessDenied = 0xC0000022;
inline constexpr NtStatus kStatusPrivilegeNotHeld = 0xC0000061;

// The narrow process record of the snapshot walk. The program is 32-bit,
// so th32DefaultHeapID (pointer-sized) has 32 bits and the record 296 bytes.
struct ProcessEntry32 {
  Dword dwSize = 0;
  Dword cntUsage = 0;
  Dword th32ProcessID = 0;
  std::uint32_t th32DefaultHeapID = 0;
  Dword th32ModuleID = 0;
  Dword cntThreads = 0;
  Dword th32ParentProcessID = 0;
  Long pcPriClassBase = 0;
  Dword dwFlags = 0;
  char szExeFile[260] = {};  // code page 936, NUL-terminated
};
static_assert(sizeof(ProcessEntry32) == 296);

// Head of the answer of the image-name query; the characters follow it in
// the same block.
struct UnicodeString {
  Word Length = 0;         // bytes of the string
  Word MaximumLength = 0;  // bytes of its storage, terminating NUL included
  Wchar* Buffer = nullptr;
};

// Failure: kInvalidHandleValue.
Handle CreateToolhelp32Snapshot(Dword flags, Dword processId);
Bool Process32First(Handle snapshot, ProcessEntry32* entry);
Bool Process32Next(Handle snapshot, ProcessEntry32* entry);

// The pseudo handle of the calling process (it needs no closing).
Handle GetCurrentProcess();
Dword GetCurrentProcessId();
Handle OpenProcess(Dword desiredAccess, Bool inheritHandle, Dword processId);
Bool TerminateProcess(Handle process, Uint exitCode);

// ntdll, looked up by name. Byte stands for the native BOOLEAN.
NtStatus RtlAdjustPrivilege(Dword privilege, Byte enable, Byte currentThread, Byte* wasEnabled);
NtStatus NtQueryInformationProcess(Handle process, Dword informationClass, void* information,
                                   Dword informationLength, Dword* returnLength);

// Functions of loaded system modules, found by name.
using FarProc = void (*)();
using GetSystemWow64DirectoryAProc = Uint(TW_SYSTEM_CALL*)(char* buffer, Uint size);

Hmodule GetModuleHandleA(const char* moduleName);
// Null when the module lacks the function. The address is of the system's
// function: cast it to its own type (GetSystemWow64DirectoryAProc...).
FarProc GetProcAddress(Hmodule module, const char* procName);

}  // namespace win
