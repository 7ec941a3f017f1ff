// Manual recordings on the real engine and the simulated TV stick: the live picture goes on
// while the record graph writes an MPEG file that FFmpeg reads back, the file joins the
// history list, the free-space rule with its minute check, the default record folder, and
// a record graph that cannot run.
#include "RecordingTest.h"

#include "MpegFileProbe.h"

#include "core/CRunState.h"
#include "core/MediaListFile.h"

#include <com/hresult.h>
#include <machine/EventLog.h>
#include <vendor/language/Language.h>
#include <win32/module.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

using rectest::MpegFileProbe;

class ControllerRecordingTest : public test::RecordingTest {
 protected:
  // Whether the overlay module was given the text to show.
  bool overlayShowed(const std::string& text) {
    const std::string call = "SetContent(\"" + text + "\"";
    for (const auto& entry : plat::EventLog::events(machine()).read()) {
      if (entry.category == "QXM_OverlayFilter" && entry.text.find(call) != std::string::npos) return true;
    }
    return false;
  }
  int count(WPARAM timer) const {
    int fired = 0;
    for (WPARAM id : launcher->timers) fired += id == timer;
    return fired;
  }
};

TEST_F(ControllerRecordingTest, AManualRecordingWritesMpegWhileThePictureStays) {
  ASSERT_NE(preview(), 0);
  ASSERT_EQ(controller->GetRunState(), 2);
  controller->RequestManualRecording();
  EXPECT_EQ(controller->GetRunState(), 3);
  EXPECT_TRUE(controller->IsRecording());
  EXPECT_EQ(controller->IsMuted(), 0) << "the sound is back once the recording runs";
  EXPECT_TRUE(overlayShowed(GetOtherInfo(1))) << "the recording's status text is on the picture";
  EXPECT_TRUE(pictureMoves(30)) << "the live picture goes on in the video window";

  controller->StopRecordingRequest();
  EXPECT_EQ(controller->GetRunState(), 2) << "back to the preview";
  EXPECT_FALSE(controller->IsGraphMissing());
  EXPECT_TRUE(pictureMoves(3));
  const std::string file = std::string(settings().VideoFolder) + "cap00.mpg";
  EXPECT_EQ(std::string(controller->GetStatusText()), file);
  EXPECT_EQ(historyVideos(), std::vector<std::string>{file});

  const MpegFileProbe probe((recordFolder() / "cap00.mpg").string());
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.container(), "mpeg");
  EXPECT_EQ(probe.video().codec, "mpeg1video");
  EXPECT_EQ(probe.video().width, 320);
  EXPECT_GT(probe.video().packets, 20);

  // The next recording takes the next name.
  controller->RequestManualRecording();
  run(400);
  controller->StopRecordingRequest();
  EXPECT_EQ(historyVideos().size(), 2u);
  EXPECT_EQ(historyVideos().back(), std::string(settings().VideoFolder) + "cap01.mpg");
}

TEST_F(ControllerRecordingTest, ARecordingRunningAsTheProgramClosesEndsWholeAndIsListed) {
  ASSERT_NE(preview(), 0);
  controller->RequestManualRecording();
  ASSERT_TRUE(controller->IsRecording());
  run(1000);
  const std::string file = std::string(settings().VideoFolder) + "cap00.mpg";
  const auto linux = recordFolder() / "cap00.mpg";
  deleteController();
  EXPECT_EQ(historyVideos(), std::vector<std::string>{file}) << "the media player finds it";
  const MpegFileProbe probe(linux.string());
  ASSERT_TRUE(probe.ok());
  EXPECT_GT(probe.video().packets, 10);
}

TEST_F(ControllerRecordingTest, ClosingWithoutARecordingListsNothing) {
  ASSERT_NE(preview(), 0);
  controller->RequestManualRecording();
  run(400);
  controller->StopRecordingRequest();
  ASSERT_EQ(historyVideos().size(), 1u);
  deleteController();
  EXPECT_EQ(historyVideos().size(), 1u) << "a stopped recording is listed once";
}

TEST_F(ControllerRecordingTest, TheRecordingsFileNameIsGivenOnlyWhileARecordGraphHasOne) {
  CString text = "unchanged";
  controller->GetRecordFileName(text);
  controller->SetCaptureGraphOption(text);
  EXPECT_EQ(text, "unchanged") << "no live graph";
  ASSERT_NE(preview(), 0);
  controller->GetRecordFileName(text);
  controller->SetCaptureGraphOption(text);
  EXPECT_EQ(text, "unchanged") << "the preview graph records nothing";

  controller->RequestManualRecording();
  ASSERT_TRUE(controller->IsRecording());
  const CString file = (std::string(settings().VideoFolder) + "cap00.mpg").c_str();
  controller->GetRecordFileName(text);
  EXPECT_EQ(text, file);
  CString option;
  controller->SetCaptureGraphOption(option);
  EXPECT_EQ(option, file) << "the option reaches the record graph's file-name operation";

  // The capture device is not stepped under a running recording.
  settings().CaptureDeviceNames.Add("Imaginary Capture Box");
  CString device = "unset";
  EXPECT_EQ(controller->StepCaptureDevice(0, device), 0);
  EXPECT_EQ(device, "unset");
  EXPECT_TRUE(controller->IsRecording());
  run(400);
  controller->StopRecordingRequest();
  EXPECT_EQ(historyVideos(), std::vector<std::string>{std::string(file)}) << "the recording ended whole";
}

TEST_F(ControllerRecordingTest, BelowAHundredMegabytesNoRecordingStartsAndARunningOneStopsAtTheMinuteCheck) {
  ASSERT_NE(preview(), 0);
  setFreeMB(99);
  controller->RequestManualRecording();
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_FALSE(std::filesystem::exists(recordFolder() / "cap00.mpg"));
  EXPECT_EQ(controller->GetFreeDiskMB(settings().VideoFolder), 99);

  setFreeMB(100);
  controller->RequestManualRecording();
  ASSERT_EQ(controller->GetRunState(), 3);
  run(60000, 1000);
  EXPECT_EQ(count(CAppController::kDiskCheckTimer), 1);
  EXPECT_EQ(controller->GetRunState(), 3) << "still 100 MB free";
  setFreeMB(99);
  run(60000, 1000);
  EXPECT_EQ(count(CAppController::kDiskCheckTimer), 2);
  EXPECT_EQ(controller->GetRunState(), 2) << "stopped for lack of space";
  EXPECT_EQ(historyVideos().size(), 1u);
  run(60000, 1000);
  EXPECT_EQ(count(CAppController::kDiskCheckTimer), 2) << "the check ends with the recording";
}

TEST_F(ControllerRecordingTest, FreeMegabytesAreThoseOfTheFoldersDrive) {
  machine().ini().setValue("DriveFreeSpace", "C", std::to_string((150ull << 20) + (1 << 19)));
  EXPECT_EQ(CAppController::GetFreeDiskMB("C:\\Videos\\"), 150) << "partial megabytes are dropped";
  EXPECT_EQ(CAppController::GetFreeDiskMB("C:\\"), 150);
  EXPECT_EQ(CAppController::GetFreeDiskMB("C:"), 0);
  EXPECT_EQ(CAppController::GetFreeDiskMB(nullptr), 0);
  EXPECT_EQ(CAppController::GetFreeDiskMB("Q:\\Videos\\"), 0) << "no such drive";
}

TEST_F(ControllerRecordingTest, AMissingRecordFolderGivesWayToTheProgramsVideosFolder) {
  ASSERT_NE(preview(), 0);
  std::strcpy(settings().VideoFolder, "C:\\Gone\\");
  setFreeMB(4096);
  std::filesystem::remove_all(testMachine.programFolder() / "Videos");
  controller->RequestManualRecording();
  ASSERT_EQ(controller->GetRunState(), 3);
  const std::string videos = std::string(CAppController::GetModuleFolder()) + "Videos\\";
  EXPECT_EQ(std::string(settings().VideoFolder), videos) << "stored in the settings";
  run(400);
  controller->StopRecordingRequest();
  EXPECT_TRUE(std::filesystem::exists(testMachine.programFolder() / "Videos" / "cap00.mpg"));
  EXPECT_FALSE(std::filesystem::exists(machine().paths().driveFolder('C') / "Gone"));
}

TEST_F(ControllerRecordingTest, WithoutAFolderToRecordIntoThePreviewStays) {
  ASSERT_NE(preview(), 0);
  std::strcpy(settings().VideoFolder, "C:\\Gone\\");
  std::filesystem::remove_all(testMachine.programFolder() / "Videos");
  std::ofstream(testMachine.programFolder() / "Videos") << "a file in the folder's place";
  controller->RequestManualRecording();
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_FALSE(controller->IsGraphMissing());
  EXPECT_EQ(std::string(settings().VideoFolder), "C:\\Gone\\");
  EXPECT_TRUE(pictureMoves(3));
  EXPECT_TRUE(historyVideos().empty());
}

TEST_F(ControllerRecordingTest, ARecordGraphThatCannotBeBuiltLeavesThePreviewRunning) {
  ASSERT_NE(preview(), 0);
  HMODULE fanout = LoadLibraryA("Filter\\Branchel.ax");
  ASSERT_NE(fanout, nullptr);
  auto unregister = reinterpret_cast<HRESULT (*)()>(GetProcAddress(fanout, "DllUnregisterServer"));
  ASSERT_NE(unregister, nullptr);
  ASSERT_EQ(unregister(), S_OK);
  FreeLibrary(fanout);

  controller->RequestManualRecording();
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_FALSE(controller->IsGraphMissing());
  EXPECT_EQ(controller->IsMuted(), 0);
  EXPECT_TRUE(pictureMoves(3));
  EXPECT_TRUE(historyVideos().empty());
}

TEST_F(ControllerRecordingTest, StopAndRecordDoNothingOutsideTheirStates) {
  controller->StopRecording();
  EXPECT_EQ(controller->GetRunState(), 0) << "no preview is opened by a stop while idle";
  EXPECT_TRUE(controller->IsGraphMissing());
  ASSERT_NE(preview(), 0);
  controller->StopRecordingRequest();
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_TRUE(historyVideos().empty());
}

}  // namespace
