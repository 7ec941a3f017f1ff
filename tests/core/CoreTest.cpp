#include "CoreTest.h"

#include "core/CAppController.h"
#include "core/CDeviceList.h"
#include "core/data/CChannelList.h"

#include <com/objbase.h>
#include <win32/file.h>
#include <win32/user.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace test {

std::string CoreTest::programPath(const std::string& name) const {
  return std::string(CAppController::GetModuleFolder()) + name;
}

std::filesystem::path CoreTest::linuxPath(const std::string& windowsPath) {
  return machine().paths().toLinux(windowsPath);
}

Bytes CoreTest::readBytes(const std::string& windowsPath) {
  std::ifstream in(linuxPath(windowsPath), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CoreTest::writeBytes(const std::string& windowsPath, const Bytes& bytes) {
  std::ofstream out(linuxPath(windowsPath), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool CoreTest::exists(const std::string& windowsPath) { return std::filesystem::exists(linuxPath(windowsPath)); }

SettingsTest::SettingsTest() {
  g_pAppSettings = new CAppSettings;
  g_pAppSettings->ProgramFolder = CAppController::GetModuleFolder();
}

SettingsTest::~SettingsTest() {
  delete g_pAppSettings;
  g_pAppSettings = nullptr;
}

ControllerTest::ControllerTest() { CoInitialize(nullptr); }

ControllerTest::~ControllerTest() {
  deleteController();
  CoUninitialize();
}

int ControllerTest::startUp() {
  controller = new CAppController;
  g_pAppController = controller;
  return controller->Startup();
}

void ControllerTest::deleteController() {
  delete controller;
  controller = nullptr;
  g_pAppController = nullptr;
}

LauncherTest::~LauncherTest() {
  deleteController();
  app.m_pMainWnd = nullptr;
  if (frame) frame->DestroyWindow();
  for (HWND made : m_windows)
    if (IsWindow(made)) DestroyWindow(made);
}

void LauncherTest::openLauncher() {
  frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, "Launcher", WS_OVERLAPPEDWINDOW));
  app.m_pMainWnd = frame;
}

HWND LauncherTest::window(const char* className, WNDPROC proc, const char* title, DWORD style, int width,
                          int height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = className;
  RegisterClassA(&wc);  // fails, keeping the first, when the class is registered already
  HWND made = CreateWindowExA(0, className, title, style, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
  m_windows.push_back(made);
  return made;
}

std::vector<std::string> ControllerTest::tempFileNames() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::vector<std::string> names;
  const auto folder = machine().paths().toLinux(temp);
  if (!std::filesystem::exists(folder)) return names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  return names;
}

void ControllerTest::installGrabberModule() {
  const auto built = TestMachine::builtProgramFolder() / "Filter" / "QXM_ImageGrabber.ax";
  std::filesystem::create_directories(testMachine.programFolder() / "Filter");
  std::filesystem::copy_file(built, testMachine.programFolder() / "Filter" / "QXM_ImageGrabber.ax",
                             std::filesystem::copy_options::overwrite_existing);
}

Bytes defaultSettingsBytes(const std::string& programFolder) {
  Bytes expected(768, 0);
  const std::int32_t values[22] = {0, 0, 1, 1, 3, 2, 50, 50, 50, 50, 50, 4, 2, 1, 0, 1, 1, 1, 4, 50, 1, 2};
  for (std::size_t i = 0; i < 22; ++i) putInt(expected, 4 * i, values[i]);
  putText(expected, 88, programFolder + "Videos\\");
  putText(expected, 348, programFolder + "Picture\\");
  putText(expected, 608, "Line In");
  putText(expected, 648, "Line In");
  putText(expected, 728, "USB TV Device");
  return expected;
}

}  // namespace test
