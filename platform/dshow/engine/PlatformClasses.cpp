#include <dshow/engine/PlatformClasses.h>

#include <dshow/baseclasses/CMemAllocator.h>
#include <dshow/engine/FilterCatalog.h>
#include <dshow/engine/FilterGraph.h>
#include <dshow/engine/SystemClock.h>

namespace plat {

namespace {

struct ClassEntry {
  const CLSID* clsid;
  CreateInstanceFn create;
  const AMOVIESETUP_FILTER* setup;
};

const ClassEntry kClasses[] = {
    {&CLSID_FilterGraph, &PlatformClasses::create<&FilterGraph::CreateInstance>, nullptr},
    {&CLSID_SystemClock, &PlatformClasses::create<&SystemClock::CreateInstance>, nullptr},
    {&CLSID_MemoryAllocator, &PlatformClasses::create<&CMemAllocator::CreateInstance>, nullptr},
};

const bool g_registered = PlatformClasses::registerAll();

}  // namespace

bool PlatformClasses::registerAll() {
  for (const ClassEntry& entry : kClasses) {
    BuiltinClasses::add(*entry.clsid, entry.create);
    if (entry.setup) FilterCatalog::addBuiltin(*entry.setup);
  }
  return true;
}

}  // namespace plat
