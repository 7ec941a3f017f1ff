#include "CoreTest.h"

#include "core/CAppController.h"

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

}  // namespace test
