#include <com/Apartments.h>
#include <com/objbase.h>

#include <atomic>

namespace plat {
namespace {

struct ThreadState {
  unsigned count = 0;
  bool multithreaded = false;
};

thread_local ThreadState t_state;
std::atomic<unsigned> g_initializedThreads{0};

}  // namespace

HRESULT Apartments::enter(DWORD coinit) {
  bool multithreaded = (coinit & COINIT_APARTMENTTHREADED) == 0;
  if (t_state.count > 0) {
    if (t_state.multithreaded != multithreaded) return RPC_E_CHANGED_MODE;
    ++t_state.count;
    return S_FALSE;
  }
  t_state.count = 1;
  t_state.multithreaded = multithreaded;
  ++g_initializedThreads;
  return S_OK;
}

bool Apartments::leave() {
  if (t_state.count == 0) return false;
  if (--t_state.count > 0) return false;
  return --g_initializedThreads == 0;
}

bool Apartments::isInitialized() { return t_state.count > 0; }

}  // namespace plat
