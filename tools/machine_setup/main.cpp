// Creates a machine root (from ORVANE_MACHINE, or the first argument) and prints what is in it.
#include <machine/Machine.h>

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  plat::Machine& machine = argc > 1 ? plat::Machine::open(argv[1]) : plat::Machine::current();
  std::printf("Machine root: %s\n", machine.root().c_str());
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(machine.root()))
    std::printf("  %s%s\n", fs::relative(entry.path(), machine.root()).c_str(), entry.is_directory() ? "/" : "");
  std::printf("Drives: %s\n", machine.paths().driveLetters().c_str());
  std::printf("\n--- machine.ini ---\n%s", machine.ini().text().c_str());
  return 0;
}
