// Fixtures for the core's tests: a fresh machine whose program folder holds the program's
// data files, and helpers to read and write those files byte for byte.
#pragma once

#include "core/CAppController.h"
#include "core/data/CAppSettings.h"

#include <support/TestMachine.h>

#include <mfc/afxwin.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace test {

using Bytes = std::vector<std::uint8_t>;

class CoreTest : public MachineTest {
 protected:
  // The Windows path of a file in the program folder.
  std::string programPath(const std::string& name) const;
  std::filesystem::path linuxPath(const std::string& windowsPath);
  Bytes readBytes(const std::string& windowsPath);
  void writeBytes(const std::string& windowsPath, const Bytes& bytes);
  bool exists(const std::string& windowsPath);
};

// A settings object in g_pAppSettings for the length of a test, as start-up makes it.
class SettingsTest : public CoreTest {
 protected:
  SettingsTest();
  ~SettingsTest() override;
  CAppSettings& settings() { return *g_pAppSettings; }
};

// A controller on a fresh machine with COM up, as the launcher makes it; whatever a test
// leaves behind is shut down at its end.
class ControllerTest : public CoreTest {
 protected:
  ControllerTest();
  ~ControllerTest() override;
  // Creates the controller and starts it up.
  int startUp();
  // Deletes the controller (which shuts down).
  void deleteController();
  // Copies the built image grabber module into the test's program folder, where the live
  // graphs register it from.
  void installGrabberModule();
  // The names of the files in the machine's temporary folder.
  std::vector<std::string> tempFileNames();
  CAppController* controller = nullptr;
};

// A controller under a plain frame as the program's main window, as the launcher makes
// it, with top-level windows of the test's own. At the end the controller goes first,
// then the frame and the windows.
class LauncherTest : public ControllerTest {
 protected:
  ~LauncherTest() override;
  // Makes the frame and sets it as the main window; first in a test's SetUp.
  void openLauncher();
  // A top-level window of class `className`, registered with `proc` on first use.
  HWND window(const char* className, WNDPROC proc, const char* title, DWORD style, int width, int height);

  CWinApp app;
  CFrameWnd* frame = nullptr;  // deletes itself when destroyed

 private:
  std::vector<HWND> m_windows;
};

// The settings file a fresh machine's start-up writes: the defaults for country 1 (the
// default PC's region, NTSC_M), folders under `programFolder`, the default sound card's lines.
std::vector<std::uint8_t> defaultSettingsBytes(const std::string& programFolder);

// Little-endian fields of a hand-built record.
inline void putInt(Bytes& bytes, std::size_t offset, std::int32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}
inline std::int32_t intAt(const Bytes& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
  return static_cast<std::int32_t>(value);
}
inline void putText(Bytes& bytes, std::size_t offset, const std::string& text) {
  std::memcpy(bytes.data() + offset, text.data(), text.size());
}
// The text of a field: up to its first NUL or its whole width.
inline std::string textAt(const Bytes& bytes, std::size_t offset, std::size_t width) {
  const char* field = reinterpret_cast<const char*>(bytes.data() + offset);
  return std::string(field, strnlen(field, width));
}

}  // namespace test
