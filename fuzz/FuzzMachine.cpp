#include "FuzzMachine.h"

#include <machine/ProgramFolder.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace fuzz {

namespace fs = std::filesystem;

FuzzMachine& FuzzMachine::get() {
  static FuzzMachine machine;
  return machine;
}

FuzzMachine::FuzzMachine() {
  std::error_code ec;
  const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string pattern = (base / "orvane-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary machine root");
  m_root = pattern;
  m_machine = &plat::Machine::open(m_root);
  m_machine->clock().setManual(1709294400000);
  fs::create_directories(programFolder());
  plat::ProgramFolder::set(programFolder());
  plat::ProgramFolder::setModuleFolder(ORVANE_PROGRAM_DIR);
}

FuzzMachine::~FuzzMachine() {
  std::error_code ec;
  fs::remove_all(m_root, ec);
}

std::string FuzzMachine::programPath(std::string_view name) const {
  return m_machine->paths().toWindows(programFolder()) + "\\" + std::string(name);
}

fs::path FuzzMachine::put(std::string_view name, const std::uint8_t* data, std::size_t size) {
  const fs::path file = programFolder() / std::string(name);
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                static_cast<std::streamsize>(size));
  return file;
}

std::string FuzzMachine::read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string FuzzMachine::putMedia(const std::uint8_t* data, std::size_t size) {
  const std::string_view head(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 12));
  const char* name = head.starts_with("RIFF") && head.ends_with("AVI ")   ? "clip.avi"
                     : head.starts_with("RIFF")                            ? "clip.wav"
                     : head.starts_with("ID3") || head.starts_with("\xff") ? "clip.mp3"
                                                                           : "clip.mpg";
  put(name, data, size);
  return programPath(name);
}

void fail(const char* what) {
  std::fprintf(stderr, "round trip failed: %s\n", what);
  std::abort();
}

}  // namespace fuzz
