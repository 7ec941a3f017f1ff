#include "support/BenchMachine.h"

#include "support/RoundsReporter.h"

#include <com/hresult.h>
#include <machine/Machine.h>
#include <machine/ProgramFolder.h>
#include <win32/module.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
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
  // The reporter shows only the rounds' figures itself, and needs every round for it.
  std::vector<char*> arguments;
  for (int i = 0; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (!argument.starts_with("--benchmark_report_aggregates_only") &&
        !argument.starts_with("--benchmark_display_aggregates_only"))
      arguments.push_back(argv[i]);
  }
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  RoundsReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  // An idle machine replaces the last one used, so that every folder can go.
  plat::Machine::open(TemporaryRoot());
  std::error_code ec;
  for (const auto& root : g_roots) std::filesystem::remove_all(root, ec);
  for (const std::string& failure : reporter.failures()) std::printf("FAILED: %s\n", failure.c_str());
  return reporter.failures().empty() ? 0 : 1;
}

}  // namespace bench
