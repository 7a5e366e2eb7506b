// Placeholder until this stage is built.
#include "installer/run_installer.h"

namespace installer {

bool InstallPatch() { return false; }

}  // namespace installer
