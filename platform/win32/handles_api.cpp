#include "platform/handles.h"
#include "platform/memory.h"
#include "platform/win32/windows_api.h"

namespace win {

using native::FromNative;
using native::ToNative;

Bool CloseHandle(Handle handle) { return ::CloseHandle(ToNative(handle)); }

Handle GetProcessHeap() { return FromNative(::GetProcessHeap()); }
void* HeapAlloc(Handle heap, Dword flags, std::size_t bytes) {
  return ::HeapAlloc(ToNative(heap), flags, bytes);
}
Bool HeapFree(Handle heap, Dword flags, void* block) { return ::HeapFree(ToNative(heap), flags, block); }
void* LocalAlloc(Uint flags, std::size_t bytes) { return ::LocalAlloc(flags, bytes); }
void* LocalFree(void* block) { return ::LocalFree(block); }

}  // namespace win
