#include <support/TestMachine.h>

#include <machine/ProgramFolder.h>

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace test {

namespace fs = std::filesystem;

namespace {

// Saves flush every file to disk; a folder in memory, where there is one, spares the tests
// that wait without changing what they see.
fs::path rootsFolder() {
  std::error_code ec;
  const fs::path memory = "/dev/shm";
  if (!std::getenv("TMPDIR") && fs::is_directory(memory, ec) && ::access(memory.c_str(), W_OK) == 0) return memory;
  return fs::temp_directory_path();
}

// A screenshot a test leaves without saying where (a failed test's dump) goes under the
// build folder, never into the working folder.
void keepScreenshotsInTheBuild() {
  if (std::getenv("ORVANE_SCREENSHOT_DIR")) return;
  const fs::path folder = fs::path(ORVANE_TEST_BINARY_DIR) / "screenshots";
  std::error_code ec;
  fs::create_directories(folder, ec);
  ::setenv("ORVANE_SCREENSHOT_DIR", folder.c_str(), 0);
}

}  // namespace

TestMachine::TestMachine() {
  keepScreenshotsInTheBuild();
  std::string pattern = (rootsFolder() / "orvane-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary machine root");
  m_root = pattern;
  m_machine = &plat::Machine::open(m_root);
  m_machine->clock().setManual(kStartUnixMs);
  fs::create_directories(programFolder());
  plat::ProgramFolder::set(programFolder());
  plat::ProgramFolder::setModuleFolder(builtProgramFolder());
}

TestMachine::~TestMachine() {
  std::error_code ec;
  fs::remove_all(m_root, ec);
}

fs::path TestMachine::builtProgramFolder() { return ORVANE_PROGRAM_DIR; }

}  // namespace test
