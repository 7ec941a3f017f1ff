#include <com/BuiltinClasses.h>

#include <mutex>
#include <vector>

namespace plat {
namespace {

struct Entry {
  CLSID clsid;
  CreateInstanceFn create;
};

// A function-local table, so libraries may add their classes from static initialisers.
struct Table {
  std::mutex lock;
  std::vector<Entry> entries;
};

Table& table() {
  static Table* classes = new Table();  // never destroyed: modules may look up classes during exit
  return *classes;
}

}  // namespace

void BuiltinClasses::add(REFCLSID clsid, CreateInstanceFn create) {
  Table& t = table();
  std::lock_guard guard(t.lock);
  for (Entry& entry : t.entries) {
    if (entry.clsid == clsid) {
      entry.create = create;
      return;
    }
  }
  t.entries.push_back(Entry{clsid, create});
}

CreateInstanceFn BuiltinClasses::find(REFCLSID clsid) {
  Table& t = table();
  std::lock_guard guard(t.lock);
  for (const Entry& entry : t.entries)
    if (entry.clsid == clsid) return entry.create;
  return nullptr;
}

}  // namespace plat
