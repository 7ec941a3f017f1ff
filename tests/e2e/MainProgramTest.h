// End-to-end fixture of the main program: a program folder laid out as the installer
// leaves it (the skins the build drew, else the tests' own; the filter modules, the
// fan-out filter registered), and "Orvane Media" run to its end in its own process under a
// robot script.
#pragma once

#include <support/TestMachine.h>

#include <string>
#include <vector>

namespace test {

class MainProgramTest : public MachineTest {
 protected:
  MainProgramTest();

  std::filesystem::path program() const { return testMachine.programFolder(); }
  // Runs "Orvane Media" with the script to its end; its exit status, or -1. The script's
  // screenshots go into the machine root.
  int run(const std::string& script);
  // The power log's entries as "category text".
  std::vector<std::string> powerLog();
};

}  // namespace test
