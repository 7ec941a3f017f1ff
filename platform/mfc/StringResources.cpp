#include <mfc/StringResources.h>

#include <atomic>

namespace plat {

namespace {
std::atomic<StringResources::Lookup> g_lookup{nullptr};
}

void StringResources::setLookup(Lookup lookup) { g_lookup.store(lookup); }

bool StringResources::find(UINT id, std::string& text) {
  const Lookup lookup = g_lookup.load();
  return lookup && lookup(id, text);
}

}  // namespace plat
