// Simulated dialog state.
#pragma once

namespace sim {

struct DialogState {};

}  // namespace sim
