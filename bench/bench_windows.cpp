// Opening and closing each skinned window of the main program, with the skins the program
// ships: the window made from its template (its skin read, its controls cut from the skin's
// pictures and laid out), shown and painted, then destroyed; processor time per open, of
// every thread of the process (a window's graphs run threads of their own). The launcher's
// row opens and closes launchers of its own, each starting and ending the controller as
// the program does; the others open over one launcher made once and kept.
//
// There is no outside program to run the same work beside it: the row stands alone.
#include "support/BenchMachine.h"
#include "support/SideBySide.h"

#include "windows/main/CAVDlg.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CSkinDialog.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/CVideoWindow.h"
#include "windows/media/CPICDlg.h"
#include "windows/media/CVideoDlg.h"
#include "windows/setup/CChannelDlg.h"
#include "windows/setup/CHardwareDlg.h"
#include "windows/setup/CRecordDlg.h"
#include "windows/setup/CRecordSetDlg.h"
#include "windows/setup/CScheduleDlg.h"
#include "windows/setup/CSetDlg.h"
#include "windows/setup/CVideoSetDlg.h"

#include <com/objbase.h>
#include <machine/Machine.h>
#include <machine/ProgramFolder.h>
#include <robot/Robot.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

namespace fs = std::filesystem;

CWinApp g_app;

// The benchmark's machine, its program folder holding the shipped skins, made once.
void OpenSkinnedMachine() {
  static const bool made = [] {
    bench::OpenMachine();
    const fs::path program = plat::Machine::current().root() / "Program";
    const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::create_directories(program);
    fs::copy(fs::path(ORVANE_PROGRAM_DIR) / "Skin", program / "Skin", options);
    fs::copy(fs::path(ORVANE_PROGRAM_DIR) / "skins", program / "skins", options);
    plat::ProgramFolder::set(program);
    ::CoInitialize(nullptr);
    return true;
  }();
  (void)made;
}

// The launcher the other windows open over, made once as the program's main window.
CMainDlg& Launcher() {
  static CMainDlg* launcher = [] {
    OpenSkinnedMachine();
    auto* made = new CMainDlg;
    g_app.m_pMainWnd = made;
    made->Create(CMainDlg::IDD);
    plat::Robot().pumpUntilIdle();
    return made;
  }();
  return *launcher;
}

// Times `open` (which opens, shows, paints and closes one window) per iteration.
void TimeOpens(benchmark::State& state, const std::function<bool()>& open) {
  OpenSkinnedMachine();
  double processor = 0;
  double wall = 0;
  std::int64_t opens = 0;
  for (auto _ : state) {
    const double before = bench::ProcessSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (!open()) {
      state.SkipWithError("the window did not open");
      return;
    }
    processor += bench::ProcessSeconds() - before;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++opens;
  }
  state.counters["cpu_ms_per_open"] = processor * 1e3 / static_cast<double>(opens);
  state.counters["wall_ms_per_open"] = wall * 1e3 / static_cast<double>(opens);
  state.SetLabel("no outside anchor: nothing outside the program opens these windows");
}

// A skinned dialog opened over the launcher as the launcher opens it.
template <class Dialog>
bool OpenDialog() {
  CMainDlg& launcher = Launcher();
  auto window = std::make_unique<Dialog>(&launcher);
  if (!window->Create(Dialog::IDD, &launcher)) return false;
  window->ShowWindow(SW_SHOW);
  plat::Robot().pumpUntilIdle();
  window->DestroyWindow();
  plat::Robot().pumpUntilIdle();
  return true;
}

template <class Dialog>
void BM_Open(benchmark::State& state) {
  Launcher();
  TimeOpens(state, &OpenDialog<Dialog>);
}

// The launcher itself, before the one the others open over: it starts the controller and
// its graphs, and ends them when it closes.
bool OpenLauncher() {
  CMainDlg launcher;
  if (!launcher.Create(CMainDlg::IDD)) return false;
  plat::Robot().pumpUntilIdle();
  launcher.DestroyWindow();
  plat::Robot().pumpUntilIdle();
  return true;
}

// The free-standing video window with its skinned frame, as the TV window opens it.
bool OpenVideoWindow() {
  Launcher();
  auto window = std::make_unique<CVideoWindow>();
  if (!window->Create(480, 320)) return false;
  if (!window->LoadSkin(CSkinDialog::GetAppFolder() + "Skin\\SingleTV\\skin.ini")) return false;
  window->Show(SW_SHOW);
  plat::Robot().pumpUntilIdle();
  window.reset();
  plat::Robot().pumpUntilIdle();
  return true;
}

void BM_OpenLauncher(benchmark::State& state) { TimeOpens(state, &OpenLauncher); }
void BM_OpenVideoWindow(benchmark::State& state) {
  Launcher();
  TimeOpens(state, &OpenVideoWindow);
}

BENCHMARK(BM_OpenLauncher)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CTVDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CAVDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CChannelDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CHardwareDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CRecordDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CScheduleDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CSetDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CVideoSetDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CRecordSetDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CPICDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Open, CVideoDlg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenVideoWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench::Main(argc, argv, ORVANE_PROGRAM_DIR); }
