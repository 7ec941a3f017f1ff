// Loading the test module by name, by relative folder and by path; counting loads;
// finding only the module's own exports; the names GetModuleFileNameA gives.
#include <support/TestMachine.h>

#include <machine/ProgramFolder.h>
#include <win32/error.h>
#include <win32/module.h>

#include <cstring>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

using ProbeFunction = int (*)();

class ModuleTest : public test::MachineTest {
 protected:
  void SetUp() override {
    plat::ProgramFolder::setModuleFolder(kModules);
    fs::create_directories(testMachine.programFolder() / "Filter");
    fs::copy_file(kModules / "Probe.dll", testMachine.programFolder() / "Filter" / "Probe.ax");
  }

  std::string windowsName(const fs::path& file) { return machine().paths().toWindows(file); }

  static int call(HMODULE module, const char* name) {
    // Through void (*)(), the type that may stand for any function without a warning.
    auto function = reinterpret_cast<ProbeFunction>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    return function ? function() : -1;
  }

  static std::string fileName(HMODULE module) {
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    return std::string(buffer, length);
  }

  const fs::path kModules = PROBE_MODULE_FOLDER;
};

TEST_F(ModuleTest, OneModuleWhateverNameReachesIt) {
  HMODULE byName = LoadLibraryA("probe.DLL");
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(call(byName, "ProbeAnswer"), 42);
  EXPECT_EQ(fileName(byName), windowsName(kModules / "Probe.dll"));

  EXPECT_EQ(LoadLibraryA("Probe"), byName);  // ".dll" is implied
  EXPECT_EQ(LoadLibraryA(windowsName(kModules / "PROBE.dll").c_str()), byName);
  EXPECT_EQ(LoadLibraryA((kModules / "Probe.dll").c_str()), byName);
  EXPECT_EQ(GetModuleHandleA("PROBE.DLL"), byName);

  // A copy in a folder of the program folder is a module of its own.
  HMODULE filter = LoadLibraryA("filter\\PROBE.AX");
  ASSERT_NE(filter, nullptr);
  EXPECT_NE(filter, byName);
  EXPECT_EQ(fileName(filter), windowsName(testMachine.programFolder() / "Filter" / "Probe.ax"));
  EXPECT_EQ(GetModuleHandleA("Filter\\Probe.ax"), filter);

  for (int i = 0; i < 4; ++i) EXPECT_TRUE(FreeLibrary(byName));
  EXPECT_TRUE(FreeLibrary(filter));
}

TEST_F(ModuleTest, TheLastFreeLibraryUnloads) {
  HMODULE module = LoadLibraryA("Probe.dll");
  ASSERT_EQ(LoadLibraryA("Probe.dll"), module);
  EXPECT_EQ(call(module, "ProbeCount"), 1);
  EXPECT_EQ(call(module, "ProbeCount"), 2);

  EXPECT_TRUE(FreeLibrary(module));  // one load is left
  EXPECT_EQ(GetModuleHandleA("Probe.dll"), module);
  EXPECT_EQ(call(module, "ProbeCount"), 3);

  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(GetModuleHandleA("Probe.dll"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(module, "ProbeCount"), nullptr);
  EXPECT_FALSE(FreeLibrary(module));

  module = LoadLibraryA("Probe.dll");
  EXPECT_EQ(call(module, "ProbeCount"), 1);  // its state went with it
  FreeLibrary(module);
}

TEST_F(ModuleTest, OnlyTheModulesOwnExportsAreFound) {
  HMODULE module = LoadLibraryA("Probe.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(GetProcAddress(module, "malloc"), nullptr);  // from the C library it links
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(module, "probeAnswer"), nullptr);  // names keep their case
  EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
  FreeLibrary(module);
}

TEST_F(ModuleTest, MissingOrBrokenModulesFailCleanly) {
  EXPECT_EQ(LoadLibraryA("Nowhere.dll"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(LoadLibraryA("C:\\Temp\\Probe.dll"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));

  std::ofstream(testMachine.programFolder() / "Broken.dll") << "MZ not an ELF object";
  EXPECT_EQ(LoadLibraryA("Broken.dll"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_BAD_EXE_FORMAT));

  auto* stranger = reinterpret_cast<HMODULE>(0x1234);
  EXPECT_EQ(GetProcAddress(stranger, "ProbeAnswer"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(GetModuleFileNameA(stranger, nullptr, 0), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
}

TEST_F(ModuleTest, TheProgramIsNamedFromItsFolder) {
  HMODULE program = GetModuleHandleA(nullptr);
  ASSERT_NE(program, nullptr);
  const std::string expected =
      windowsName(testMachine.programFolder() / plat::ProgramFolder::executableName());
  EXPECT_EQ(fileName(nullptr), expected);
  EXPECT_EQ(fileName(program), expected);
  // What programs do with it: keep the text up to the last backslash.
  EXPECT_EQ(expected.substr(0, expected.rfind('\\') + 1), windowsName(testMachine.programFolder()) + "\\");

  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), DWORD(sizeof buffer));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::string(buffer), expected.substr(0, 7));
}

}  // namespace

namespace {

TEST_F(ModuleTest, AnAddressFindsTheModuleHoldingIt) {
  HMODULE probe = LoadLibraryA("Probe.dll");
  ASSERT_NE(probe, nullptr);
  HMODULE found = nullptr;
  const auto address = reinterpret_cast<LPCSTR>(GetProcAddress(probe, "ProbeAnswer"));
  ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, address, &found));
  EXPECT_EQ(found, probe);

  static int inTheProgram = 0;
  ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&inTheProgram),
                                 &found));
  EXPECT_EQ(found, GetModuleHandleA(nullptr));

  EXPECT_FALSE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, nullptr, &found));
  EXPECT_EQ(found, nullptr);
  FreeLibrary(probe);
}

}  // namespace
