// A minimal container for the TV control: a window titled "Kinovar Host" that hosts
// MovieCtl at (10, 10)-(330, 250), prints what the control's type information calls it and
// every event it fires, and runs the lines of a command file in order (see CControlHost.h),
// printing each result. Each line runs once the one before has been handled; "wait <ms>"
// lets the program run that long (the control's timers, the remote control) before the
// next. After the last line the program ends.
//
//   KinovarHost <command file>
//
// It runs on the machine of ORVANE_MACHINE, or else on the demo machine the build makes
// beside it ("kinovar-machine": the PCI capture card fitted, its driver and the control
// registered). A machine that cannot carry the control is told in one line on stderr, and
// the program ends with status 2.
#include "CControlHost.h"

#include <com/ComPtr.h>
#include <com/objbase.h>
#include <machine/ProgramFolder.h>
#include <mfc/afxwin.h>
#include <movie_control/QXMovie.h>
#include <vendor/capture_driver/CardDriver.h>
#include <win32/module.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT kNextCommand = WM_APP;
constexpr UINT_PTR kWaitTimer = 1;
constexpr RECT kControlRect{10, 10, 330, 250};
constexpr int kCannotRun = 2;
constexpr char kDemoMachine[] = "kinovar-machine";

void print(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

void tell(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

std::string machineRoot() {
  const char* root = std::getenv("ORVANE_MACHINE");
  return root ? root : "";
}

// Why this machine cannot carry the control with its card; empty when it can.
std::string cardProblem() {
  plat::ComPtr<ICardDeviceList> cards;
  if (FAILED(CoCreateInstance(CLSID_CardDeviceList, nullptr, CLSCTX_INPROC_SERVER, IID_ICardDeviceList,
                              cards.putVoid())))
    return "the capture card's driver is not registered on the machine " + machineRoot() +
           ": register TalvikCard.dll with regsvr32";
  long count = 0;
  if (FAILED(cards->GetDeviceCount(&count)) || count == 0)
    return "the machine " + machineRoot() + " has no capture card: its machine.ini needs [CaptureCard] Present=1";
  return "";
}

struct HostState {
  std::unique_ptr<CControlHost> host;
  std::vector<std::string> commands;
  std::size_t next = 0;
};

HostState g_state;

// Runs the next command; a wait leaves the rest to its timer, the end closes the window.
void runNext(HWND hwnd) {
  while (g_state.next < g_state.commands.size()) {
    const std::string line = g_state.commands[g_state.next++];
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("wait ", 0) == 0) {
      SetTimer(hwnd, kWaitTimer, static_cast<UINT>(std::strtoul(line.c_str() + 5, nullptr, 10)), nullptr);
      return;
    }
    print(g_state.host->Execute(line));
    PostMessageA(hwnd, kNextCommand, 0, 0);
    return;
  }
  PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kNextCommand:
      runNext(hwnd);
      return 0;
    case WM_TIMER:
      if (wParam != kWaitTimer) break;
      KillTimer(hwnd, kWaitTimer);
      runNext(hwnd);
      return 0;
    case WM_CLOSE:
      if (g_state.host) g_state.host->Close();
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default: break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class CHostApp : public CWinApp {
 public:
  CHostApp() : CWinApp("Kinovar Host") {}

  BOOL InitInstance() override {
    if (!m_lpCmdLine || !*m_lpCmdLine) return Fail("usage: KinovarHost <command file>");
    std::ifstream file(m_lpCmdLine);
    if (!file) return Fail(std::string("KinovarHost: cannot read the command file ") + m_lpCmdLine);
    for (std::string line; std::getline(file, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      g_state.commands.push_back(line);
    }
    CoInitialize(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = hostProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = "KinovarHost";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "KinovarHost", "Kinovar Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 360, 300,
                                  nullptr, nullptr, nullptr, nullptr);
    g_state.host = std::make_unique<CControlHost>(window, print);
    const HRESULT hr = g_state.host->Create(CLSID_MovieCtl, kControlRect);
    std::string problem = cardProblem();
    if (hr == REGDB_E_CLASSNOTREG)
      problem = "the TV control is not registered on the machine " + machineRoot() +
                ": register Kinovar.ocx with regsvr32";
    if (!problem.empty()) {
      g_state.host.reset();
      DestroyWindow(window);
      CoUninitialize();
      return Fail("KinovarHost: " + problem);
    }
    char text[64];
    std::snprintf(text, sizeof text, "create -> 0x%08X", static_cast<unsigned>(hr));
    print(text);
    print("class " + g_state.host->ClassName() + ", events " + g_state.host->EventInterfaceName());
    PostMessageA(window, kNextCommand, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    g_state.host.reset();
    CoUninitialize();
    return FALSE;
  }

  int ExitInstance() override { return m_exitCode; }

 private:
  BOOL Fail(const std::string& line) {
    tell(line);
    m_exitCode = kCannotRun;
    return FALSE;
  }

  int m_exitCode = 0;
};

CHostApp theApp;

}  // namespace

int main(int argc, char** argv) {
  // Without a machine named, the demo machine beside the program.
  const std::string demo = (plat::ProgramFolder::path() / kDemoMachine).string();
  setenv("ORVANE_MACHINE", demo.c_str(), 0);
  std::string commandLine;
  for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
  return AfxWinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
