// The simulated PC that every program of the system runs on.
//
// A machine is a folder (the machine root): machine.ini describes the hardware and the
// Windows installation, registry.ini holds the registry, C/ is drive C:, run/ is where
// programs find each other's windows, and events.log / power.log record what the
// programs asked of the PC. ORVANE_MACHINE chooses the root (default
// ~/.local/share/orvane-machine); a missing root or machine.ini is created with a
// default PC. Tests open a fresh machine of their own with open().
//
// Platform modules keep per-machine state as services: service<T>() makes one T per
// machine on first use (T is constructed from the Machine&), and a new machine starts
// with none, so nothing leaks from one test's machine into the next.
#pragma once

#include <machine/Clock.h>
#include <machine/IniDocument.h>
#include <machine/PathMap.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <typeindex>
#include <unordered_map>

namespace plat {

class Machine {
 public:
  explicit Machine(std::filesystem::path root);
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // The machine of this process, opened from ORVANE_MACHINE on first use.
  static Machine& current();
  // Replaces the current machine with the one at `root` (created when missing).
  static Machine& open(const std::filesystem::path& root);
  static std::filesystem::path defaultRoot();

  const std::filesystem::path& root() const { return m_root; }
  std::filesystem::path iniPath() const { return m_root / "machine.ini"; }
  std::filesystem::path runFolder() const { return m_root / "run"; }
  // Makes the clock one for every process of the machine (see Clock::shareThrough); a
  // process that opens the machine afterwards follows it.
  bool shareClock();
  // machine.ini as loaded; saveIni() writes changes back.
  IniDocument& ini() { return m_ini; }
  const IniDocument& ini() const { return m_ini; }
  bool saveIni() const;

  PathMap& paths() { return m_paths; }
  const PathMap& paths() const { return m_paths; }
  Clock& clock() { return m_clock; }

  template <class T>
  T& service() {
    std::lock_guard guard(m_servicesLock);
    auto& slot = m_services[std::type_index(typeid(T))];
    if (!slot) slot = std::shared_ptr<void>(new T(*this), [](void* p) { delete static_cast<T*>(p); });
    return *static_cast<T*>(slot.get());
  }

 private:
  void loadIni();
  void mapDrives();

  std::filesystem::path m_root;
  IniDocument m_ini;
  PathMap m_paths;
  Clock m_clock;
  std::recursive_mutex m_servicesLock;
  std::unordered_map<std::type_index, std::shared_ptr<void>> m_services;
};

// The default machine.ini of a new machine.
std::string defaultMachineIni();

}  // namespace plat
