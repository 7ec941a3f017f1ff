// Which threads have initialised COM, and how often. Each thread keeps its own count
// (CoInitialize twice needs CoUninitialize twice) and its threading model; the process
// counts the threads that are initialised, so the last one leaving can unload servers.
// There is no marshalling between apartments: objects are called directly from any thread.
#pragma once

#include <win32/types.h>

namespace plat {

class Apartments {
 public:
  // S_OK for the thread's first initialisation, S_FALSE after; RPC_E_CHANGED_MODE,
  // uncounted, when the thread already chose the other model.
  static HRESULT enter(DWORD coinit);
  // True when this call ended the last initialisation of the process.
  static bool leave();
  static bool isInitialized();
};

}  // namespace plat
