// Invariant checks of the fuzz targets.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzz {

// A broken invariant names its line and stops the run.
inline void Check(bool ok, int line = __builtin_LINE()) {
  if (ok) return;
  std::fprintf(stderr, "invariant of line %d broken\n", line);
  std::abort();
}

}  // namespace fuzz
