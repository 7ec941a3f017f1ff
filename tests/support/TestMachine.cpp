#include <support/TestMachine.h>

#include <machine/ProgramFolder.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace test {

namespace fs = std::filesystem;

TestMachine::TestMachine() {
  std::string pattern = (fs::temp_directory_path() / "orvane-test-XXXXXX").string();
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
