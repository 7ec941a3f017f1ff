// The named kernel objects of this process on one machine (a machine service). Mutexes
// and events share one namespace, as on Windows: a name stands for one object of one
// type, and stays taken while any handle refers to that object.
#pragma once

#include <win32/kernel/HandleTable.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace plat {

class Machine;

class ObjectNames {
 public:
  explicit ObjectNames(Machine& machine);

  // Where named mutexes keep their files.
  const std::filesystem::path& mutexFolder() const { return m_mutexFolder; }

  struct Lookup {
    std::shared_ptr<KernelObject> object;
    bool existed = false;
  };
  // The object holding `name` in this process (existed), else what `make` returns, which
  // then holds the name unless empty. Serialised: two threads never both make a name.
  Lookup findOrMake(const std::string& name, const std::function<Lookup()>& make);

 private:
  const std::filesystem::path m_mutexFolder;
  std::mutex m_lock;
  std::unordered_map<std::string, std::weak_ptr<KernelObject>> m_objects;
};

}  // namespace plat
