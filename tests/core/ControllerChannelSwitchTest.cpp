// The controller's channel operations on the live preview of the simulated TV stick:
// channel up and down over skipped channels, recall, the channel window's choice, the
// tunings of input switches and silent retunes, with the texts they put on the picture
// read back from the overlay filter's calls.
#include "CoreTest.h"

#include "core/CRunState.h"
#include "core/CScheduleList.h"
#include "core/data/CChannelList.h"

#include <machine/EventLog.h>
#include <machine/TvStickControl.h>
#include <mfc/afxwin.h>
#include <robot/Robot.h>
#include <win32/user.h>
#include <winmm/SoundSystem.h>
#include <winmm/mmsystem.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

class ControllerChannelSwitchTest : public test::LauncherTest {
 protected:
  void SetUp() override {
    installGrabberModule();
    ASSERT_NO_FATAL_FAILURE(openLauncher());
    ASSERT_EQ(startUp(), 1);
    video = window("ChannelSwitchTestVideo", DefWindowProcA, "TV", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300);
    ASSERT_NE(video, nullptr);
    settings().CountryCode = 1;
    settings().TunerSource = settings().VideoInput = 1;
  }
  ~ControllerChannelSwitchTest() override {
    deleteController();
    ScanRunning = 0;
  }

  CAppSettings& settings() { return *g_pAppSettings; }

  // The antenna list becomes these channels (number, name, skipped) on the default
  // broadcast's carriers, with the first one current.
  void channels(const std::vector<std::tuple<int, const char*, bool>>& list) {
    static const float carriers[] = {55.25f, 67.25f, 175.25f, 199.25f, 471.25f};
    g_pChannelList->ClearList(1);
    for (std::size_t i = 0; i < list.size(); ++i) {
      auto* record = new ChannelRecord{};
      const auto& [number, name, skipped] = list[i];
      record->SkipFlag = skipped;
      std::strcpy(record->StandardName, "NTSC_M");
      std::strcpy(record->ChannelName, name);
      record->Frequency = carriers[i % 5];
      record->ChannelNumber = number;
      ASSERT_EQ(g_pChannelList->AddChannel(1, record), 1);
    }
    g_pChannelList->SetCurrentChannel(std::get<0>(list.front()), 1);
  }
  int preview() { return controller->StartPreview(video); }

  // Every text put on the picture, in order.
  std::vector<std::string> texts() {
    std::vector<std::string> shown;
    // "<slot> SetContent("<text>", <length>, <layer>)" for the text layer.
    constexpr std::string_view kCall = " SetContent(\"";
    for (const auto& entry : plat::EventLog::events(machine()).read()) {
      const std::size_t call = entry.text.find(kCall);
      if (entry.category != "QXM_OverlayFilter" || call == std::string::npos) continue;
      const std::size_t begin = call + kCall.size();
      shown.push_back(entry.text.substr(begin, entry.text.rfind('"') - begin));
    }
    return shown;
  }
  std::string lastText() {
    const auto shown = texts();
    return shown.empty() ? std::string() : shown.back();
  }
  std::size_t tunerWrites() {
    std::size_t count = 0;
    for (const auto& write : machine().service<plat::TvStickControl>().writes())
      count += write.kind == plat::TvStickControl::Write::Kind::I2C;
    return count;
  }
  // Writes of the decoder's standard register: one each time a standard is applied.
  std::size_t standardWrites() {
    std::size_t count = 0;
    for (const auto& write : machine().service<plat::TvStickControl>().writes())
      count += write.kind == plat::TvStickControl::Write::Kind::Register && write.address == 0xC16F;
    return count;
  }
  // Values written to the speakers' mute control so far (1 muted, 0 on).
  std::vector<DWORD> muteWrites() {
    plat::SoundSystem& sound = plat::SoundSystem::current();
    const DWORD mute = *sound.findControl(0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_MUTE);
    std::vector<DWORD> values;
    for (const auto& write : sound.programWrites())
      if (write.controlId == mute) values.push_back(write.values[0]);
    return values;
  }
  std::string station() {
    const auto tuned = machine().service<plat::TvStickControl>().tunedStation();
    return tuned ? tuned->scene.name : std::string();
  }

  HWND video = nullptr;
};

TEST_F(ControllerChannelSwitchTest, ChannelUpAndDownPassSkippedChannelsAndNameThem) {
  channels({{1, "Channel1", false}, {2, "Channel2", true}, {3, "Channel3", true}, {4, "News", false}});
  ASSERT_NE(preview(), 0);
  EXPECT_EQ(lastText(), "1") << "the preview names the current channel by its number";
  EXPECT_EQ(station(), "Metro 2");

  controller->StepChannel(1);
  EXPECT_EQ(lastText(), "News 4");
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(1), 4);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 4);
  EXPECT_EQ(station(), "City 11");
  EXPECT_EQ(controller->IsMuted(), 0);

  controller->StepChannel(1);  // wraps past the last
  EXPECT_EQ(lastText(), "1");
  EXPECT_EQ(station(), "Metro 2");
  controller->StepChannel(0);  // wraps back, over the skipped ones
  EXPECT_EQ(lastText(), "News 4");
}

TEST_F(ControllerChannelSwitchTest, ChannelUpOverOnlySkippedChannelsChangesNothing) {
  channels({{1, "Channel1", false}, {2, "Channel2", true}, {3, "Channel3", true}});
  ASSERT_NE(preview(), 0);
  const auto shown = texts().size();
  const auto writes = tunerWrites();
  controller->StepChannel(1);
  controller->StepChannel(0);
  EXPECT_EQ(texts().size(), shown);
  EXPECT_EQ(tunerWrites(), writes);
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(1), 1);
}

TEST_F(ControllerChannelSwitchTest, ChannelStepsNeedLiveTvAndStopAScan) {
  channels({{1, "Channel1", false}, {2, "Channel2", false}});
  controller->GetRunStateHolder()->SetState(2);
  controller->StepChannel(1);  // no live graph
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(1), 1);

  ASSERT_NE(preview(), 0);
  controller->GetRunStateHolder()->SetState(6);
  ScanRunning = 1;
  const auto writes = tunerWrites();
  controller->StepChannel(1);
  EXPECT_EQ(ScanRunning, 0) << "a channel key ends the scan";
  EXPECT_EQ(tunerWrites(), writes) << "but tunes nothing outside live TV";
  ScanRunning = 1;
  controller->RecallPreviousChannel();
  EXPECT_EQ(ScanRunning, 0);
  ScanRunning = 1;
  controller->RetuneSilently();
  EXPECT_EQ(ScanRunning, 1) << "a silent retune leaves the scan alone";
  EXPECT_EQ(controller->TuneCurrentChannel(), 1);
  EXPECT_EQ(ScanRunning, 0);
  EXPECT_EQ(tunerWrites(), writes);
}

TEST_F(ControllerChannelSwitchTest, TheUsersChannelOperationsEndARunningScheduledEntry) {
  channels({{1, "Channel1", false}, {2, "Channel2", false}});
  ASSERT_NE(preview(), 0);
  CScheduleList& schedule = *controller->GetScheduleList();
  schedule.ViewRun() = 1;
  controller->RetuneSilently();
  EXPECT_EQ(controller->TuneCurrentChannel(), 1);
  EXPECT_EQ(schedule.ViewRun(), 1) << "the input switches' tunings belong to the run";

  controller->StepChannel(1);
  EXPECT_EQ(schedule.ViewRun(), 0);
  EXPECT_EQ(lastText(), "2");
  schedule.RecordRun() = 1;
  controller->RecallPreviousChannel();
  EXPECT_EQ(schedule.RecordRun(), 0);
  schedule.ViewRun() = 1;
  controller->GetRunStateHolder()->SetState(11);  // ends the entry, starts no scan
  controller->StartScan();
  EXPECT_EQ(schedule.ViewRun(), 0);
  EXPECT_EQ(ScanRunning, 0);
}

TEST_F(ControllerChannelSwitchTest, RecallGoesBackAndForthAndRightAfterStartTunesTheSameChannel) {
  channels({{1, "Channel1", false}, {4, "News", false}});
  ASSERT_NE(preview(), 0);
  const auto writes = tunerWrites();
  controller->RecallPreviousChannel();
  EXPECT_EQ(tunerWrites(), writes + 1);
  EXPECT_EQ(lastText(), "1");
  EXPECT_EQ(station(), "Metro 2");

  controller->StepChannel(1);
  controller->RecallPreviousChannel();
  EXPECT_EQ(lastText(), "1");
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(1), 1);
  controller->RecallPreviousChannel();
  EXPECT_EQ(lastText(), "News 4");
  EXPECT_EQ(station(), "Valley 4");
  EXPECT_EQ(controller->IsMuted(), 0);
}

TEST_F(ControllerChannelSwitchTest, TheChannelWindowsChoiceIsTunedUnlessItIsCurrent) {
  channels({{1, "Channel1", false}, {2, "Channel2", false}, {4, "News", false}});
  ASSERT_NE(preview(), 0);
  ChannelRecord chosen{};
  ASSERT_EQ(g_pChannelList->GetChannel(4, 1, &chosen), 1);
  controller->TuneChannelFromDialog(&chosen);
  EXPECT_EQ(lastText(), "News4") << "the name runs into the number";
  EXPECT_EQ(station(), "Coast 7");
  EXPECT_EQ(controller->IsMuted(), 0);

  const auto shown = texts().size();
  const auto writes = tunerWrites();
  controller->TuneChannelFromDialog(&chosen);  // already current
  controller->TuneChannelFromDialog(nullptr);
  EXPECT_EQ(texts().size(), shown);
  EXPECT_EQ(tunerWrites(), writes);

  ASSERT_EQ(g_pChannelList->GetChannel(2, 1, &chosen), 1);
  controller->TuneChannelFromDialog(&chosen);
  EXPECT_EQ(lastText(), "2");
  EXPECT_EQ(station(), "Valley 4");
}

TEST_F(ControllerChannelSwitchTest, TheInputSwitchesTuneTheTunerSourcesCurrentChannel) {
  channels({{1, "Channel1", false}, {3, "Harbour", false}});
  g_pChannelList->SetCurrentChannel(3, 1);
  ASSERT_NE(preview(), 0);
  EXPECT_EQ(lastText(), "Harbour 3");

  controller->SelectComposite();
  EXPECT_EQ(lastText(), "Composite");
  g_pChannelList->SetCurrentChannel(6, 1);  // in the plan, not in the list
  controller->SelectTuner();
  EXPECT_EQ(lastText(), "6") << "a channel the list lacks is named by its number";
  EXPECT_EQ(station(), "Coast 7") << "the plan's sixth entry";
}

TEST_F(ControllerChannelSwitchTest, ARetuneIsSilentAndOnlyOnLiveOrRecordedTv) {
  channels({{1, "Channel1", false}, {2, "Channel2", false}});
  ASSERT_NE(preview(), 0);
  const auto shown = texts().size();
  const auto writes = tunerWrites();
  controller->RetuneSilently();
  EXPECT_EQ(tunerWrites(), writes + 1);
  EXPECT_EQ(texts().size(), shown);
  EXPECT_EQ(controller->IsMuted(), 0);

  controller->GetRunStateHolder()->SetState(11);
  controller->RetuneSilently();
  EXPECT_EQ(tunerWrites(), writes + 1);
}

TEST_F(ControllerChannelSwitchTest, SwitchInputRestartsTheLiveGraphOnTheSettingsInput) {
  channels({{1, "Channel1", false}});
  EXPECT_EQ(controller->SwitchInput(nullptr), 0);
  ASSERT_EQ(controller->SwitchInput(video), 1) << "without a live graph the preview is built";
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(lastText(), "1");

  settings().VideoInput = 4;
  ASSERT_EQ(controller->SwitchInput(video), 1);
  EXPECT_EQ(controller->GetRunState(), 13);
  EXPECT_EQ(controller->GetRunStateHolder()->GetSubState(), 19);
  EXPECT_EQ(lastText(), "S-Video");
  settings().VideoInput = 1;
  ASSERT_EQ(controller->SwitchInput(video), 1);
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(lastText(), "1");
  EXPECT_EQ(controller->IsMuted(), 0);
}

TEST_F(ControllerChannelSwitchTest, TheVideoStandardFollowsTheInputAndKeepsAFamilyWithoutATable) {
  channels({{1, "Channel1", false}});
  controller->SetVideoStandard(0, 720, 576);  // not previewing
  EXPECT_EQ(settings().LineStandard, 4);
  ASSERT_NE(preview(), 0);

  settings().CountryCode = 49;  // a 625-line country
  auto writes = tunerWrites();
  controller->SetVideoStandard(0, 720, 576);
  EXPECT_EQ(settings().LineStandard, 3);
  EXPECT_EQ(tunerWrites(), writes + 1) << "live TV retunes the channel";

  settings().CountryCode = 999;  // no table: the family in use stays
  controller->SetVideoStandard(0, 720, 576);
  EXPECT_EQ(settings().LineStandard, 3);

  controller->SelectComposite();
  settings().AvInputStandard = 1;  // NTSC 4.43
  writes = tunerWrites();
  controller->SetVideoStandard(0, 720, 576);
  EXPECT_EQ(settings().LineStandard, 4);
  EXPECT_EQ(tunerWrites(), writes);
  EXPECT_EQ(controller->IsMuted(), 0);
}

}  // namespace

namespace {

// The TV window the digit entry finds by its title.
class ControllerChannelEntryTest : public ControllerChannelSwitchTest {
 protected:
  void SetUp() override {
    ControllerChannelSwitchTest::SetUp();
    tv = CreateWindowExA(0, "ChannelSwitchTestVideo", "Orvane Media_TVDlg", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                         nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(tv, nullptr);
  }
  ~ControllerChannelEntryTest() override {
    if (IsWindow(tv)) DestroyWindow(tv);
  }
  HWND tv = nullptr;
};

TEST_F(ControllerChannelEntryTest, TypedDigitsTuneTheirNumberWithinThePlan) {
  channels({{1, "One", false}, {2, "Two", false}, {12, "Twelve", false}});
  ASSERT_NE(preview(), 0);
  controller->EnterDigit(1);
  EXPECT_EQ(controller->GetRunState(), 9);
  EXPECT_EQ(lastText(), "1");
  controller->EnterDigit(2);
  EXPECT_EQ(lastText(), "12");
  controller->EnterDigit(5);  // 125 is past the plan's last channel
  EXPECT_EQ(lastText(), "12");
  controller->EnterDigit(10);  // no digit
  EXPECT_EQ(controller->OnDigitTimer(), 1);
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 12);
  EXPECT_EQ(lastText(), "Twelve 12");
  // The full-screen variant types in its own state and ends on its own timer.
  controller->EnterDigitFull(2);
  EXPECT_EQ(controller->GetRunState(), 10);
  controller->EnterDigit(1);  // the windowed entry does not join it
  EXPECT_EQ(lastText(), "2");
  controller->OnDigitTimerFull();
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 2);
}

TEST_F(ControllerChannelEntryTest, DigitsNeedTheTVWindowAndLiveTv) {
  channels({{1, "One", false}, {2, "Two", false}});
  ASSERT_NE(preview(), 0);
  DestroyWindow(tv);
  controller->EnterDigit(2);
  EXPECT_EQ(controller->GetRunState(), 2);
  controller->GetRunStateHolder()->SetState(11);
  controller->EnterDigitFull(2);
  EXPECT_EQ(controller->GetRunState(), 11);
}

TEST_F(ControllerChannelEntryTest, DigitsTheWallAndTheInputSwitchesEndARunningScheduledEntry) {
  channels({{1, "One", false}, {2, "Two", false}});
  ASSERT_NE(preview(), 0);
  CScheduleList& schedule = *controller->GetScheduleList();
  schedule.ViewRun() = 1;
  controller->EnterDigit(2);
  EXPECT_EQ(schedule.ViewRun(), 0);
  controller->OnDigitTimer();
  schedule.RecordRun() = 1;
  controller->OnDigitTimer();
  EXPECT_EQ(schedule.RecordRun(), 0);
  schedule.ViewRun() = 1;
  int first = 0;
  ASSERT_EQ(controller->StartChannelWall(first), 1);
  EXPECT_EQ(schedule.ViewRun(), 0);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(controller->GetRunState(), 7);
  controller->SetInputSource(3, 0);
  schedule.ViewRun() = 1;
  controller->SelectComposite();
  EXPECT_EQ(schedule.ViewRun(), 0);
  EXPECT_EQ(controller->GetRunState(), 11);
  schedule.ViewRun() = 1;
  controller->SelectTuner();
  EXPECT_EQ(schedule.ViewRun(), 0);
  EXPECT_EQ(controller->GetRunState(), 2);
}

TEST_F(ControllerChannelEntryTest, TheWallStartsOnlyOnLiveTvAndRemembersTheChannel) {
  channels({{3, "Three", false}, {4, "Four", false}, {9, "Nine", false}});
  g_pChannelList->SetCurrentChannel(4, 1);
  ASSERT_NE(preview(), 0);
  controller->GetRunStateHolder()->SetState(11);
  int first = -5;
  EXPECT_EQ(controller->StartChannelWall(first), 0);
  EXPECT_EQ(first, -5);
  EXPECT_EQ(controller->GetRunState(), 11) << "outside live TV nothing changes";
  controller->GetRunStateHolder()->SetState(2);
  ASSERT_EQ(controller->StartChannelWall(first), 1);
  EXPECT_EQ(first, 3) << "the list's lowest number, not the current channel";
  EXPECT_EQ(controller->GetRunState(), 7);
  controller->WallShowChannel(tv, 9);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 9);
  EXPECT_EQ(station(), "Coast 7") << "the third carrier";
  EXPECT_EQ(controller->IsMuted(), 0);
  const auto writes = tunerWrites();
  controller->WallShowChannel(tv, 0);
  controller->WallShowChannel(tv, -1);
  EXPECT_EQ(tunerWrites(), writes) << "no channel is no tuning";
  controller->SetInputSource(4, 0);  // back to the remembered channel
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 4);
  EXPECT_EQ(controller->GetRunState(), 2);
}

TEST_F(ControllerChannelEntryTest, AWallOnAnEmptyListKeepsItsStateForTheCloseToEnd) {
  channels({{3, "Three", false}});
  ASSERT_NE(preview(), 0);
  g_pChannelList->ClearList(1);
  int first = 0;
  EXPECT_EQ(controller->StartChannelWall(first), 0);
  EXPECT_EQ(controller->GetRunState(), 7);
  controller->SetInputSource(3, 0);
  EXPECT_EQ(controller->GetRunState(), 2);
}

TEST_F(ControllerChannelEntryTest, TheInputStepGoesBetweenTunerAndCompositeAndNamesIt) {
  channels({{1, "One", false}});
  CString text = "unset";
  controller->SelectInput(1, text);
  EXPECT_EQ(text, "unset") << "only while previewing";
  ASSERT_NE(preview(), 0);
  controller->SelectInput(0, text);
  EXPECT_EQ(text, "Composite");
  EXPECT_EQ(controller->GetRunState(), 11);
  controller->SelectInput(0, text);
  EXPECT_EQ(text, "TV");
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(lastText(), "One 1");

  controller->SelectSVideo();
  text = "unset";
  controller->SelectInput(0, text);
  EXPECT_EQ(text, "unset") << "S-Video goes back to the tuner only with the next flag";
  EXPECT_EQ(controller->GetRunState(), 13);
  controller->SelectInput(1, text);
  EXPECT_EQ(text, "TV");
  EXPECT_EQ(controller->GetRunState(), 2);

  CScheduleList& schedule = *controller->GetScheduleList();
  schedule.ViewRun() = 1;
  controller->SelectInput(0, text);
  EXPECT_EQ(schedule.ViewRun(), 0) << "a running scheduled entry ends first";
}

TEST_F(ControllerChannelEntryTest, AStandardStepIsAppliedAndMutedOnlyWhereItMust) {
  ASSERT_NE(preview(), 0);
  controller->SelectComposite();
  settings().AvInputStandard = 0;
  CString name;
  auto step = [&](int previous) {
    const std::size_t applied = standardWrites();
    const std::size_t muted = muteWrites().size();
    controller->StepCrossbarInput(previous, name);
    return std::pair<std::size_t, std::size_t>(standardWrites() - applied, muteWrites().size() - muted);
  };
  using Effect = std::pair<std::size_t, std::size_t>;  // standards applied, mute writes
  EXPECT_EQ(step(0), Effect(1, 0)) << "NTSC(n3.58) to NTSC(n4.33) keeps the sound";
  EXPECT_EQ(step(0), Effect(1, 0)) << "NTSC(n4.33) to PAL keeps the sound";
  EXPECT_EQ(name, "PAL");
  EXPECT_EQ(step(0), Effect(1, 2)) << "PAL to SECAM is muted while it restarts";
  EXPECT_EQ(step(0), Effect(1, 2)) << "SECAM wraps to NTSC(n3.58), muted";
  EXPECT_EQ(step(1), Effect(1, 2)) << "back to SECAM";
  EXPECT_EQ(controller->IsMuted(), 0);

  controller->SelectSVideo();
  EXPECT_EQ(step(1), Effect(1, 2)) << "S-Video steps as well";
  EXPECT_EQ(name, "PAL");
  controller->SelectTuner();
  name = "unset";
  EXPECT_EQ(step(0), Effect(0, 0)) << "not on the tuner";
  EXPECT_EQ(name, "unset");
}

TEST_F(ControllerChannelEntryTest, AChosenStandardIsAppliedOnlyWhenItChanged) {
  ASSERT_NE(preview(), 0);
  controller->SelectComposite();
  settings().AvInputStandard = 0;
  auto choose = [&](int index) {
    const std::size_t applied = standardWrites();
    const std::size_t muted = muteWrites().size();
    controller->SetCrossbarInput(index);
    return std::pair<std::size_t, std::size_t>(standardWrites() - applied, muteWrites().size() - muted);
  };
  using Effect = std::pair<std::size_t, std::size_t>;
  EXPECT_EQ(choose(0), Effect(0, 0)) << "the standard in force is not applied again";
  EXPECT_EQ(choose(1), Effect(1, 0)) << "NTSC(n3.58) to NTSC(n4.33) keeps the sound";
  EXPECT_EQ(choose(0), Effect(1, 2)) << "but not the way back";
  EXPECT_EQ(choose(2), Effect(1, 2));
  EXPECT_EQ(choose(3), Effect(1, 0)) << "PAL to SECAM keeps the sound";
  EXPECT_EQ(choose(2), Effect(1, 0)) << "and so does SECAM to PAL";
  EXPECT_EQ(choose(4), Effect(0, 0)) << "past the last standard";
  EXPECT_EQ(choose(-1), Effect(0, 0));
  EXPECT_EQ(settings().AvInputStandard, 2);
  controller->SelectTuner();
  EXPECT_EQ(choose(3), Effect(0, 0)) << "not on the tuner";
  EXPECT_EQ(settings().AvInputStandard, 2);
}

TEST_F(ControllerChannelEntryTest, TuneByNameTunesTheTypedNumberAtOnceOrTheCurrentChannel) {
  channels({{1, "One", false}, {2, "Two", false}, {12, "Twelve", false}});
  ASSERT_NE(preview(), 0);
  controller->EnterDigit(1);
  controller->EnterDigit(2);
  ASSERT_EQ(controller->GetRunState(), 9);
  controller->TuneByName();
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 12);
  EXPECT_EQ(lastText(), "Twelve 12");
  EXPECT_FALSE(KillTimer(tv, 200)) << "the entry's timer is gone";

  controller->EnterDigitFull(2);
  ASSERT_EQ(controller->GetRunState(), 10);
  controller->TuneByName();
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 2);

  // Nothing typed: the current channel again, never a "0".
  controller->TuneByName();
  EXPECT_EQ(lastText(), "Two 2");
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 2);
  controller->SelectComposite();
  const auto shown = texts().size();
  controller->TuneByName();
  EXPECT_EQ(controller->GetRunState(), 11);
  EXPECT_EQ(texts().size(), shown) << "Composite names itself: nothing changes";
}

TEST_F(ControllerChannelEntryTest, TheChannelTextIsShownAgainForTheView) {
  channels({{1, "Alpha", false}, {2, "Beta", false}});
  ASSERT_NE(preview(), 0);
  controller->ReshowOsdText();
  EXPECT_EQ(lastText(), "ALPHA 1");
  controller->SelectComposite();
  controller->ReshowOsdText();
  EXPECT_EQ(lastText(), "Composite");
}

TEST_F(ControllerChannelEntryTest, TheExternalStandardStepsWrapAndAreStored) {
  ASSERT_NE(preview(), 0);
  CString name = "unset";
  controller->StepCrossbarInput(0, name);  // only on Composite or S-Video
  EXPECT_EQ(settings().AvInputStandard, 0);
  EXPECT_EQ(name, "unset");
  controller->SelectSVideo();
  ASSERT_EQ(settings().AvStandardNames.GetSize(), 4);
  settings().AvInputStandard = 0;
  controller->StepCrossbarInput(1, name);
  EXPECT_EQ(settings().AvInputStandard, 3);
  EXPECT_EQ(name, "SECAM");
  controller->StepCrossbarInput(0, name);
  EXPECT_EQ(settings().AvInputStandard, 0);
  EXPECT_EQ(name, "NTSC(n3.58)");
  controller->StepCrossbarInput(0, name);
  EXPECT_EQ(settings().AvInputStandard, 1);
  EXPECT_EQ(name, "NTSC(n4.33)");
  EXPECT_STREQ(controller->GetAvStandardName(), "NTSC(n4.33)");
}

// The name is the stored standard's, also when the live graph stored the one it detected.
TEST_F(ControllerChannelEntryTest, TheExternalStandardsNameIsTheStoredOne) {
  ASSERT_NE(preview(), 0);
  controller->SelectSVideo();
  settings().AvInputStandard = 2;
  EXPECT_STREQ(controller->GetAvStandardName(), "PAL");
  settings().AvInputStandard = 4;
  EXPECT_EQ(controller->GetAvStandardName(), nullptr) << "past the last name";
  settings().AvInputStandard = -1;
  EXPECT_EQ(controller->GetAvStandardName(), nullptr);
}

TEST_F(ControllerChannelEntryTest, AfterTheCountryChangedShutDownSavesTheNewCountrysChannels) {
  ASSERT_NE(preview(), 0);
  const test::Bytes before = readBytes(programPath("ZRQChannels.chl"));
  CString name;
  int code = 0;
  controller->StepCountry(0, name, code);
  ASSERT_NE(code, 1);
  EXPECT_EQ(controller->IsCountryChanged(), 1);
  deleteController();
  const test::Bytes after = readBytes(programPath("ZRQChannels.chl"));
  EXPECT_NE(after, before) << "the channels of " << name;
}

// The country code is given only while the selected country is one of the list's.
TEST_F(ControllerChannelEntryTest, TheCountryCodeNeedsASelectedCountry) {
  CStringArray& names = settings().CountryNames;
  ASSERT_GE(controller->GetCountryIndex(), 0);
  EXPECT_EQ(controller->GetCountryCode(), settings().CountryCode);
  EXPECT_EQ(controller->SelectCountryByCode(-5), -1);
  EXPECT_EQ(controller->GetCountryCode(), -1) << "a code of no country";

  ASSERT_GE(controller->SelectCountryByCode(settings().CountryCode), 0);
  while (names.GetSize() > controller->GetCountryIndex() + 1) names.RemoveAt(names.GetSize() - 1);
  EXPECT_EQ(controller->GetCountryCode(), settings().CountryCode) << "the last of the list";
  names.RemoveAt(names.GetSize() - 1);
  EXPECT_EQ(controller->GetCountryCode(), -1) << "one past the last";
}

TEST_F(ControllerChannelEntryTest, WithoutACountryChangeShutDownSavesTheListAsItIs) {
  channels({{7, "Seven", false}});
  deleteController();
  CChannelList list;
  ASSERT_EQ(list.LoadFile(programPath("ZRQChannels.chl").c_str()), 1);
  EXPECT_EQ(list.GetChannelCount(1), 1);
}

TEST_F(ControllerChannelEntryTest, RefreshedDeviceNamesStillFollowTheDevices) {
  controller->RefreshDeviceNames();
  ASSERT_EQ(settings().CaptureDeviceNames.GetSize(), 1);
  machine().service<plat::TvStickControl>();
  plat::Robot robot;
  robot.plugTvStick(false);
  robot.pumpUntilIdle();
  EXPECT_EQ(settings().CaptureDeviceNames.GetSize(), 0) << "the rebuilt list still tells the controller";
  robot.plugTvStick(true);
  robot.pumpUntilIdle();
  EXPECT_EQ(settings().CaptureDeviceNames.GetSize(), 1);
}

TEST_F(ControllerChannelEntryTest, TheAudioDeviceStepsRoundTheListAndReportsItsChoice) {
  ASSERT_NE(preview(), 0);
  CStringArray& devices = settings().AudioDeviceNames;
  devices.RemoveAll();
  devices.Add("Sound A");
  char name[CAppController::kDeviceNameBufferSize] = "unchanged";
  char line[CAppController::kLineBufferSize] = "unchanged";
  std::strcpy(settings().AudioDeviceName, "Sound A");
  controller->ApplyDeviceSelection(0, name, line, nullptr);
  EXPECT_STREQ(name, "unchanged") << "one device is not stepped";
  devices.Add("Sound B");
  devices.Add("Sound C");
  controller->ApplyDeviceSelection(0, name, line, nullptr);
  EXPECT_STREQ(settings().AudioDeviceName, "Sound B");
  EXPECT_STREQ(name, "Sound B");
  EXPECT_STREQ(line, settings().CaptureAudioLine);
  controller->ApplyDeviceSelection(1, name, line, nullptr);
  controller->ApplyDeviceSelection(1, name, line, nullptr);
  EXPECT_STREQ(name, "Sound C") << "backwards from the first wraps to the last";
  controller->GetRunStateHolder()->SetState(0);
  controller->ApplyDeviceSelection(0, name, line, nullptr);
  EXPECT_STREQ(name, "Sound C") << "only while previewing";
}

}  // namespace
