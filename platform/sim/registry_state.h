// Simulated registry state.
#pragma once

namespace sim {

struct RegistryState {};

}  // namespace sim
