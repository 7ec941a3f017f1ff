// regsvr32: registers the COM in-process servers named on its command line on the machine
// of ORVANE_MACHINE, as an installer does (its DllRegisterServer, or DllUnregisterServer
// with /u). Paths are Windows paths; a relative one is taken from the current folder.
// Exit status 0 when every module registered, else 3.
#include <com/objbase.h>
#include <win32/module.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  bool unregister = false;
  int failed = 0;
  CoInitialize(nullptr);
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "/u") == 0) {
      unregister = true;
      continue;
    }
    HMODULE module = LoadLibraryA(argv[i]);
    using Entry = HRESULT (*)();
    auto entry = module ? reinterpret_cast<Entry>(GetProcAddress(module, unregister ? "DllUnregisterServer"
                                                                                   : "DllRegisterServer"))
                        : nullptr;
    const HRESULT result = entry ? entry() : E_FAIL;
    if (FAILED(result)) {
      std::fprintf(stderr, "regsvr32: %s could not be %s\n", argv[i], unregister ? "unregistered" : "registered");
      ++failed;
    }
    if (module) FreeLibrary(module);
  }
  CoUninitialize();
  return failed ? 3 : 0;
}
