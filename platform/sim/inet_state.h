// Simulated inet state.
#pragma once

namespace sim {

struct InetState {};

}  // namespace sim
