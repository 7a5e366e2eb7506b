// Simulated window state.
#pragma once

namespace sim {

struct WindowState {};

}  // namespace sim
