// Simulated shell state.
#pragma once

namespace sim {

struct ShellState {};

}  // namespace sim
