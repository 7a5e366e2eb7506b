// Process functions; the ntdll ones are looked up by name.
#include "platform/win32/windows_api.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/process.h"

namespace win {

using native::FromNative;
using native::ToNative;

namespace {

Bool Walk(Handle snapshot, ProcessEntry32* entry, bool first) {
  if (!entry || entry->dwSize < sizeof(ProcessEntry32)) {
    ::SetLastError(ERROR_BAD_LENGTH);
    return FALSE;
  }
  ::PROCESSENTRY32W native{};
  native.dwSize = sizeof native;
  if (!(first ? ::Process32FirstW : ::Process32NextW)(ToNative(snapshot), &native)) return FALSE;
  entry->cntUsage = native.cntUsage;
  entry->th32ProcessID = native.th32ProcessID;
  entry->th32DefaultHeapID = static_cast<std::uint32_t>(native.th32DefaultHeapID);
  entry->th32ModuleID = native.th32ModuleID;
  entry->cntThreads = native.cntThreads;
  entry->th32ParentProcessID = native.th32ParentProcessID;
  entry->pcPriClassBase = native.pcPriClassBase;
  entry->dwFlags = native.dwFlags;
  // The name in code page 936, cut to whole characters that leave room for the NUL.
  const std::string name = native::WideToCp936(native.szExeFile);
  std::size_t n = 0;
  while (n < name.size()) {
    const std::size_t step = static_cast<unsigned char>(name[n]) >= 0x80 && n + 1 < name.size() ? 2 : 1;
    if (n + step > sizeof entry->szExeFile - 1) break;
    n += step;
  }
  std::memset(entry->szExeFile, 0, sizeof entry->szExeFile);
  std::memcpy(entry->szExeFile, name.data(), n);
  return TRUE;
}

::HMODULE ToNativeModule(Hmodule module) { return reinterpret_cast<::HMODULE>(Value(module)); }

}  // namespace

Handle CreateToolhelp32Snapshot(Dword flags, Dword processId) {
  return FromNative(::CreateToolhelp32Snapshot(flags, processId));
}

Bool Process32First(Handle snapshot, ProcessEntry32* entry) { return Walk(snapshot, entry, true); }
Bool Process32Next(Handle snapshot, ProcessEntry32* entry) { return Walk(snapshot, entry, false); }

Handle GetCurrentProcess() { return FromNative(::GetCurrentProcess()); }
Dword GetCurrentProcessId() { return ::GetCurrentProcessId(); }

Handle OpenProcess(Dword desiredAccess, Bool inheritHandle, Dword processId) {
  return FromNative(::OpenProcess(desiredAccess, inheritHandle, processId));
}

Bool TerminateProcess(Handle process, Uint exitCode) {
  return ::TerminateProcess(ToNative(process), exitCode);
}

NtStatus RtlAdjustPrivilege(Dword privilege, Byte enable, Byte currentThread, Byte* wasEnabled) {
  using Function = ::LONG(WINAPI*)(::ULONG, ::BOOLEAN, ::BOOLEAN, ::PBOOLEAN);
  static const Function function = native::LookupAs<Function>("ntdll.dll", "RtlAdjustPrivilege");
  if (!function) return kStatusUnsuccessful;
  ::BOOLEAN was = 0;
  const ::LONG status = function(privilege, enable, currentThread, &was);
  if (wasEnabled) *wasEnabled = was;
  return static_cast<NtStatus>(status);
}

NtStatus NtQueryInformationProcess(Handle process, Dword informationClass, void* information,
                                   Dword informationLength, Dword* returnLength) {
  using Function = ::LONG(WINAPI*)(::HANDLE, ::ULONG, ::PVOID, ::ULONG, ::PULONG);
  static const Function function = native::LookupAs<Function>("ntdll.dll", "NtQueryInformationProcess");
  if (!function) return kStatusUnsuccessful;
  ::ULONG length = returnLength ? *returnLength : 0;
  const ::LONG status = function(ToNative(process), informationClass, information, informationLength,
                                 returnLength ? &length : nullptr);
  if (returnLength) *returnLength = length;
  return static_cast<NtStatus>(status);
}

Hmodule GetModuleHandleA(const char* moduleName) {
  if (!moduleName) return static_cast<Hmodule>(reinterpret_cast<std::uintptr_t>(::GetModuleHandleW(nullptr)));
  const std::wstring wide = native::Cp936ToWide(moduleName);
  return static_cast<Hmodule>(reinterpret_cast<std::uintptr_t>(::GetModuleHandleW(wide.c_str())));
}

FarProc GetProcAddress(Hmodule module, const char* procName) {
  return reinterpret_cast<FarProc>(
      reinterpret_cast<void*>(::GetProcAddress(ToNativeModule(module), procName)));
}

}  // namespace win
