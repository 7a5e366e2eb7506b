// Heap and local allocations of the simulation, tracked so that tests can
// prove every block is freed.
#pragma once

#include <cstddef>
#include <map>

namespace sim {

struct MemoryState {
  std::map<const void*, std::size_t> heapBlocks;   // HeapAlloc, live
  std::map<const void*, std::size_t> localBlocks;  // LocalAlloc, live
  int badFrees = 0;
};

}  // namespace sim
