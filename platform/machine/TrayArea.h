// The taskbar's notification area of the simulated PC: the icons every program shows
// there, kept as one small file per icon in run/tray/ so the robot of any process sees
// them. An icon is known by its owner window and id (handles as numbers, since they
// belong to another process). While the shell is down (the robot restarts it) the area
// holds nothing and takes nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace plat {

class Machine;

class TrayArea {
 public:
  struct Icon {
    std::uint64_t window = 0;
    std::uint32_t id = 0;
    std::uint32_t callbackMessage = 0;  // 0: none
    std::uint64_t icon = 0;
    std::string tip;
  };

  explicit TrayArea(Machine& machine);

  bool isShellRunning() const;
  // Down: every icon goes. Up again: empty, until the programs add theirs back.
  void setShellRunning(bool running);

  std::optional<Icon> find(std::uint64_t window, std::uint32_t id) const;
  bool store(const Icon& icon);
  bool remove(std::uint64_t window, std::uint32_t id);
  // Every icon, oldest first.
  std::vector<Icon> icons() const;
  // Where the icon's picture lies as the tray shows it (a PNG its owner writes); removed
  // with the icon.
  std::filesystem::path pictureOf(std::uint64_t window, std::uint32_t id) const;

 private:
  std::filesystem::path fileOf(std::uint64_t window, std::uint32_t id) const;
  static std::optional<Icon> read(const std::filesystem::path& file);

  std::filesystem::path m_folder;
};

}  // namespace plat
