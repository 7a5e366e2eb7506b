// Waits and ticks of the simulation: virtual time.
#include "platform/sim/world.h"
#include "platform/time.h"

namespace win {

void Sleep(Dword milliseconds) {
  auto& world = sim::TheWorld();
  world.Enter("Sleep");
  world.clock.sleeps.push_back(milliseconds);
  world.clock.Advance(milliseconds);
}

Dword GetTickCount() {
  auto& world = sim::TheWorld();
  world.Enter("GetTickCount");
  return static_cast<Dword>(world.clock.now);
}

}  // namespace win
