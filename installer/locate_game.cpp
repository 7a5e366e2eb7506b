// Placeholder until this stage is built.
#include "installer/run_installer.h"

namespace installer {

bool LocateGame() { return true; }

}  // namespace installer
