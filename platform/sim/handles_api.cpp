// Handle and memory functions of the simulation.
#include <cstdlib>
#include <cstring>

#include "platform/handles.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "platform/sim/world.h"

namespace win {

namespace {
constexpr std::uintptr_t kProcessHeap = 0x7F0000;
}

Bool CloseHandle(Handle handle) {
  auto& world = sim::TheWorld();
  if (world.Enter("CloseHandle")) return kFalse;
  if (handle == kInvalidHandleValue) return kTrue;  // the calling process's pseudo handle: nothing to close
  return world.handles.Close(handle) ? kTrue : kFalse;
}

Handle GetProcessHeap() {
  sim::TheWorld().Enter("GetProcessHeap");
  return static_cast<Handle>(kProcessHeap);
}

void* HeapAlloc(Handle heap, Dword flags, std::size_t bytes) {
  auto& world = sim::TheWorld();
  if (world.Enter("HeapAlloc") || Value(heap) != kProcessHeap) return nullptr;
  void* block = std::malloc(bytes ? bytes : 1);
  if (!block) return nullptr;
  if (flags & kHeapZeroMemory) std::memset(block, 0, bytes ? bytes : 1);
  world.memory.heapBlocks[block] = bytes;
  return block;
}

Bool HeapFree(Handle heap, Dword, void* block) {
  auto& world = sim::TheWorld();
  if (world.Enter("HeapFree")) return kFalse;
  if (!block) return kTrue;
  if (Value(heap) != kProcessHeap || !world.memory.heapBlocks.erase(block)) {
    ++world.memory.badFrees;
    return kFalse;
  }
  std::free(block);
  return kTrue;
}

void* LocalAlloc(Uint flags, std::size_t bytes) {
  auto& world = sim::TheWorld();
  if (world.Enter("LocalAlloc")) return nullptr;
  void* block = std::malloc(bytes ? bytes : 1);
  if (!block) return nullptr;
  if (flags & kLptr) std::memset(block, 0, bytes ? bytes : 1);
  world.memory.localBlocks[block] = bytes;
  return block;
}

void* LocalFree(void* block) {
  auto& world = sim::TheWorld();
  if (world.Enter("LocalFree")) return block;
  if (!block) return nullptr;
  if (!world.memory.localBlocks.erase(block)) {
    ++world.memory.badFrees;
    return block;
  }
  std::free(block);
  return nullptr;
}

}  // namespace win
