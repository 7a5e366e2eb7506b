// Process heap and local memory.
#pragma once

#include <cstddef>

#include "platform/types.h"

namespace win {

inline constexpr Dword kHeapZeroMemory = 0x8;
inline constexpr Uint kLptr = 0x40;  // fixed, zero-filled

Handle GetProcessHeap();
void* HeapAlloc(Handle heap, Dword flags, std::size_t bytes);
Bool HeapFree(Handle heap, Dword flags, void* block);
void* LocalAlloc(Uint flags, std::size_t bytes);
void* LocalFree(void* block);  // null on success, the block on failure

}  // namespace win
