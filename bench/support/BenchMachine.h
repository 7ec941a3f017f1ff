// What every benchmark program shares: fresh machines in temporary folders with the clock
// stopped, module registration, and a main that removes the folders afterwards.
#pragma once

#include <win32/types.h>

#include <initializer_list>

namespace bench {

// A fresh machine in a new temporary folder, its clock manual at 2024-03-01 12:00 UTC.
void OpenMachine();
// OpenMachine, then the module's DllRegisterServer; true when it registered.
bool OpenMachineWithModule(LPCSTR module);
// The same with each module in turn; true when all registered.
bool OpenMachineWithModules(std::initializer_list<LPCSTR> modules);
// Runs the benchmarks named on the command line, reported by RoundsReporter; every
// machine folder is removed after. `moduleFolder` (may be null) is where modules are
// loaded from. Non-zero when a row failed (each is named at the end).
int Main(int argc, char** argv, const char* moduleFolder);

}  // namespace bench
