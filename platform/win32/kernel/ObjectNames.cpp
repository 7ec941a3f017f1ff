#include <win32/kernel/ObjectNames.h>

#include <machine/Machine.h>

namespace plat {

ObjectNames::ObjectNames(Machine& machine) : m_mutexFolder(machine.runFolder() / "mutex") {}

ObjectNames::Lookup ObjectNames::findOrMake(const std::string& name, const std::function<Lookup()>& make) {
  std::lock_guard guard(m_lock);
  if (auto it = m_objects.find(name); it != m_objects.end()) {
    if (auto object = it->second.lock()) return {std::move(object), true};
  }
  Lookup made = make();
  if (made.object) {
    std::erase_if(m_objects, [](const auto& entry) { return entry.second.expired(); });
    m_objects[name] = made.object;
  }
  return made;
}

}  // namespace plat
