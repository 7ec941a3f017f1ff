// The machine a fuzz target runs on: a temporary machine root (in memory where there is
// one) with the default PC, a manual clock, a program folder of its own and the built
// modules reachable. Made once per process; removed at exit.
#pragma once

#include <machine/Machine.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace fuzz {

class FuzzMachine {
 public:
  static FuzzMachine& get();

  plat::Machine& machine() { return *m_machine; }
  const std::filesystem::path& root() const { return m_root; }
  std::filesystem::path programFolder() const { return m_root / "Program"; }
  // The Windows path of a file in the program folder.
  std::string programPath(std::string_view name) const;

  // Puts `data` in the program folder's file `name` (replacing it), returning its Linux path.
  std::filesystem::path put(std::string_view name, const std::uint8_t* data, std::size_t size);
  static std::string read(const std::filesystem::path& file);
  // Puts `data` in the program folder as a user's media file of that content would be
  // named ("clip.avi", "clip.wav", "clip.mp3", else "clip.mpg"), returning its Windows path.
  std::string putMedia(const std::uint8_t* data, std::size_t size);

 private:
  FuzzMachine();
  ~FuzzMachine();

  std::filesystem::path m_root;
  plat::Machine* m_machine;
};

// Ends the run with a message when a round trip changed what it should have kept.
[[noreturn]] void fail(const char* what);
inline void check(bool ok, const char* what) {
  if (!ok) fail(what);
}

}  // namespace fuzz
