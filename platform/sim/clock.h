// Virtual time: waits cost nothing and are recorded.
#pragma once

#include <cstdint>
#include <vector>

namespace sim {

struct Clock {
  std::uint64_t now = 1'000'000;      // milliseconds since the simulated boot
  std::vector<std::uint32_t> sleeps;  // every Sleep, in order

  void Advance(std::uint64_t milliseconds) { now += milliseconds; }
};

}  // namespace sim
