#include "support/BenchMachine.h"

#include <com/hresult.h>
#include <machine/Machine.h>
#include <machine/ProgramFolder.h>
#include <win32/module.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr std::int64_t kBenchStartMs = 1709294400000;

std::vector<std::filesystem::path> g_roots;

std::filesystem::path TemporaryRoot() {
  std::string root = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
  if (!mkdtemp(root.data())) std::abort();
  g_roots.emplace_back(root);
  return root;
}

}  // namespace

void OpenMachine() { plat::Machine::open(TemporaryRoot()).clock().setManual(kBenchStartMs); }

bool OpenMachineWithModules(std::initializer_list<LPCSTR> modules) {
  OpenMachine();
  for (LPCSTR module : modules) {
    HMODULE loaded = LoadLibraryA(module);
    if (!loaded) return false;
    auto registerServer =
        reinterpret_cast<HRESULT (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(loaded, "DllRegisterServer")));
    const bool registered = registerServer && registerServer() == S_OK;
    FreeLibrary(loaded);
    if (!registered) return false;
  }
  return true;
}

bool OpenMachineWithModule(LPCSTR module) { return OpenMachineWithModules({module}); }

int Main(int argc, char** argv, const char* moduleFolder) {
  if (moduleFolder) plat::ProgramFolder::setModuleFolder(moduleFolder);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // An idle machine replaces the last one used, so that every folder can go.
  plat::Machine::open(TemporaryRoot());
  std::error_code ec;
  for (const auto& root : g_roots) std::filesystem::remove_all(root, ec);
  return 0;
}

}  // namespace bench
