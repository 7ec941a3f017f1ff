// A fresh machine for one test: a temporary machine root with the default PC, a manual
// clock stopped at a fixed date, and a program folder of its own inside the root. The
// built modules stay reachable through the module folder. Everything is removed at the end.
#pragma once

#include <machine/Machine.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace test {

// 2024-03-01 12:00:00 UTC, a Friday.
inline constexpr std::int64_t kStartUnixMs = 1709294400000;

class TestMachine {
 public:
  TestMachine();
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  plat::Machine& machine() { return *m_machine; }
  const std::filesystem::path& root() const { return m_root; }
  std::filesystem::path programFolder() const { return m_root / "Program"; }
  // The folder the build puts the program folder's modules in.
  static std::filesystem::path builtProgramFolder();

 private:
  std::filesystem::path m_root;
  plat::Machine* m_machine;
};

// Base fixture: every test of a suite deriving from it runs on its own machine.
class MachineTest : public ::testing::Test {
 protected:
  TestMachine testMachine;
  plat::Machine& machine() { return testMachine.machine(); }
};

}  // namespace test
