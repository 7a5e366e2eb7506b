// Placeholder until this stage is built.
#include "installer/run_installer.h"

namespace installer {

void CheckForUpdate() {}

}  // namespace installer
