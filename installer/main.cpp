// The entry: takes no arguments and reads no configuration.
#include "installer/program_state.h"

int main() { return installer::ProgramMain(); }
