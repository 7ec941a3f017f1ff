// The TV control hosted by the test container in a process of its own, on a machine with
// the PCI capture card: the container calls it by name, hears its events, and the robot
// presses the card's remote keys and drives the setup frame. Started as its README line
// has it, the container runs the sample commands on the demo machine beside it; a machine
// that cannot carry the control is told in one line.
#include <support/ProgramRun.h>

#include <com/objbase.h>
#include <machine/Machine.h>
#include <win32/module.h>
#include <win32/registry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace test {
namespace {

class KinovarHostTest : public MachineTest {
 protected:
  void SetUp() override {
    auto& ini = machine().ini();
    ini.setValue("CaptureCard", "Present", "1");
    ini.setValue("Broadcast", "Channel1", "49.75,PAL_D,1,Kestrel One,440");
    ini.setValue("Broadcast", "Channel2", "57.75,PAL_D,2,Marram Two,550");
    ini.setValue("Broadcast", "Channel3", "65.75,PAL_D,3,Tussock Three,660");
    // A Chinese system, whose setup frame is captioned in GB2312.
    ini.setValue("Windows", "AnsiCodePage", "936");
    ASSERT_TRUE(machine().saveIni());
    // Installed as their installers would: the card's driver and the control.
    CoInitialize(nullptr);
    ASSERT_EQ(callExport("TalvikCard.dll", "DllRegisterServer"), S_OK);
    ASSERT_EQ(callExport("Kinovar.ocx", "DllRegisterServer"), S_OK);
    CoUninitialize();
    std::filesystem::create_directories(KINOVAR_SCREENSHOT_DIR);
  }

  static HRESULT callExport(const char* module, const char* name) {
    HMODULE handle = LoadLibraryA(module);
    if (!handle) return E_FAIL;
    auto entry = reinterpret_cast<HRESULT (*)()>(GetProcAddress(handle, name));
    const HRESULT hr = entry ? entry() : E_FAIL;
    FreeLibrary(handle);
    return hr;
  }

  ProgramRun host(const std::string& commands, const std::string& script) {
    const auto commandFile = testMachine.root() / "host.commands";
    const auto scriptFile = testMachine.root() / "host.robot";
    std::ofstream(commandFile) << commands;
    std::ofstream(scriptFile) << script;
    return RunProgram(testMachine, KINOVAR_HOST_PROGRAM, {commandFile.string()}, scriptFile,
                      {std::string("ORVANE_SCREENSHOT_DIR=") + KINOVAR_SCREENSHOT_DIR});
  }

  static std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) out.push_back(line);
    return out;
  }
};

}  // namespace

TEST_F(KinovarHostTest, TheContainerHostsTheControlAndHearsItsEvents) {
  // An outside tool has moved channel 5 onto the third station.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune\\TS86-1", 0,
                            nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD hz = 65'750'000;
  RegSetValueExA(key, "5", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&hz), sizeof hz);
  RegCloseKey(key);

  // The container's waits leave the user room: the robot acts within each and then lets
  // the rest of it pass, on the clock both share.
  const ProgramRun run = host(
      "call Init\n"
      "call Play\n"
      "put Channel 2\n"
      "wait 400\n"
      "put Channel 5\n"
      "get IsOverrideChannel\n"
      "wait 400\n"
      "put Brightness 200\n"
      "wait 400\n"
      "put Volume 30000\n"
      "wait 800\n"
      "get Channel\n"
      "get Volume\n"
      "wait 1000\n"
      "get Brightness\n"  // moved on the property page
      "put Channel 2\n",
      "clock manual\n"
      "window * \"Kinovar Host\"\n"
      "wait 200\n"
      "screenshot kinovar_channel2\n"
      "wait 200\n"
      "wait 200\n"
      "screenshot kinovar_override\n"
      "wait 200\n"
      "wait 200\n"
      "screenshot kinovar_brightness\n"
      "wait 200\n"
      "card-remote 14\n"  // channel up
      "wait 100\n"
      "card-remote 0\n"
      "wait 100\n"
      "card-remote 15\n"  // volume down
      "wait 100\n"
      "card-remote 0\n"
      "wait 500\n"
      "card-remote 24\n"  // the settings key opens the setup frame
      "wait 100\n"
      "window \"#32770\" \"\xC9\xE8\xD6\xC3 Properties\"\n"
      "screenshot kinovar_setup\n"
      "clickat 262 58\n"  // the brightness trackbar's far end
      "card-remote 0\n"
      "wait 100\n"
      "card-remote 24\n"  // and closes it again
      "wait 100\n"
      "card-remote 0\n"
      "expect-no-window \"#32770\" \"\xC9\xE8\xD6\xC3 Properties\"\n"
      "wait 700\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> expected = {
      "create -> 0x00000000",
      "class Kinovar Class, events _IMovieCtlEvents",
      "call Init -> 0x00000000",
      "call Play -> 0x00000000",
      "event OnChannelChanging(1, 2)",
      "event OnChannelChanged(2)",
      "put Channel 2 -> 0x00000000",
      "event OnChannelChanging(2, 5)",
      "event OnChannelChanged(5)",
      "put Channel 5 -> 0x00000000",
      "get IsOverrideChannel -> 1 (0x00000000)",
      "put Brightness 200 -> 0x00000000",
      "event OnVolumeChanging(49152, 30000)",
      "event OnVolumeChanged(30000)",
      "put Volume 30000 -> 0x00000000",
      "event OnChannelChanging(5, 6)",
      "event OnChannelChanged(6)",
      "event OnVolumeChanging(30000, 28690)",
      "event OnVolumeChanged(28690)",
      "get Channel -> 6 (0x00000000)",
      "get Volume -> 28690 (0x00000000)",
      "get Brightness -> 255 (0x00000000)",  // moved on the property page
      "event OnChannelChanging(6, 2)",
      "event OnChannelChanged(2)",
      "put Channel 2 -> 0x00000000",
  };
  EXPECT_EQ(lines(run.out), expected) << run.err;
}

// As a user starts it: no machine named, the sample command file; the container runs on
// the demo machine the build left beside it, runs every line and ends.
TEST_F(KinovarHostTest, TheSampleRunsOnTheDemoMachineBesideTheContainer) {
  const auto tools = testMachine.root() / "tools";
  std::filesystem::create_directories(tools / "kinovar-machine");
  std::filesystem::copy_file(KINOVAR_HOST_PROGRAM, tools / "KinovarHost");
  for (const char* file : {"machine.ini", "registry.ini"})
    std::filesystem::copy_file(std::filesystem::path(KINOVAR_DEMO_MACHINE) / file, tools / "kinovar-machine" / file);

  const ProgramRun run = RunProgramAsUser(testMachine.root(), (tools / "KinovarHost").string(), {KINOVAR_SAMPLE_COMMANDS});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> out = lines(run.out);
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(out[0], "create -> 0x00000000");
  EXPECT_EQ(out[2], "call Init -> 0x00000000");
  for (const char* line : {"get MaxChannel -> 105 (0x00000000)", "event OnChannelChanged(3)", "get Channel -> 2 (0x00000000)",
                           "get Brightness -> 200 (0x00000000)", "get Mute -> 1 (0x00000000)"})
    EXPECT_NE(std::find(out.begin(), out.end(), line), out.end()) << line;
  EXPECT_EQ(out.back(), "call Stop -> 0x00000000");
  // The lines ran on the demo machine, which the run used.
  EXPECT_TRUE(std::filesystem::exists(tools / "kinovar-machine" / "run"));
}

// What the machine lacks is said in one line, and the container ends without running
// the commands: the control's registration, the card's driver, the card itself.
TEST_F(KinovarHostTest, AMachineThatCannotCarryTheControlIsToldInOneLine) {
  const auto tell = [this] {
    const ProgramRun run = host("call Init\n", "");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    return run.err;
  };
  const std::string root = testMachine.root().string();
  CoInitialize(nullptr);
  ASSERT_EQ(callExport("TalvikCard.dll", "DllUnregisterServer"), S_OK);
  EXPECT_EQ(tell(), "KinovarHost: the capture card's driver is not registered on the machine " + root +
                        ": register TalvikCard.dll with regsvr32\n");
  ASSERT_EQ(callExport("Kinovar.ocx", "DllUnregisterServer"), S_OK);
  EXPECT_EQ(tell(), "KinovarHost: the TV control is not registered on the machine " + root +
                        ": register Kinovar.ocx with regsvr32\n");
  ASSERT_EQ(callExport("Kinovar.ocx", "DllRegisterServer"), S_OK);
  ASSERT_EQ(callExport("TalvikCard.dll", "DllRegisterServer"), S_OK);
  CoUninitialize();
  machine().ini().setValue("CaptureCard", "Present", "0");
  ASSERT_TRUE(machine().saveIni());
  EXPECT_EQ(tell(), "KinovarHost: the machine " + root +
                        " has no capture card: its machine.ini needs [CaptureCard] Present=1\n");
}

}  // namespace test
