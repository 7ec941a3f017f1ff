#include "RecordingTest.h"

#include "core/CRunState.h"
#include "core/MediaListFile.h"
#include "graphs/DeviceUtilities.h"

#include <machine/VideoSurfaces.h>
#include <mfc/CTime.h>
#include <robot/Robot.h>
#include <win32/user.h>

namespace test {

LRESULT Launcher::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CAppController* controller = g_pAppController;
  switch (message) {
    case WM_TIMER:
      timers.push_back(wParam);
      if (!controller) return 0;
      if (wParam == CAppController::kScheduleTimer) controller->OnScheduleTick();
      if (wParam == CAppController::kScheduleSecondTimer) controller->OnScheduleSecond();
      if (wParam == CAppController::kDiskCheckTimer) controller->OnDiskCheckTimer();
      return 0;
    case CAppController::UM_OPEN_TV_WINDOW:
      ++tvOpenings;
      if (controller) controller->StartPreview(video);
      return 0;
    case WM_CLOSE:
      ++closeRequests;
      if (onClose) onClose();
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_CLOSE) break;
      ++systemCloses;
      return 0;
    default: break;
  }
  return CFrameWnd::WindowProc(message, wParam, lParam);
}

void RecordingTest::SetUp() {
  installGrabberModule();
  RegisterFilterModule("Filter\\Branchel.ax");
  launcher = new Launcher;
  ASSERT_TRUE(launcher->Create(nullptr, "Launcher", WS_OVERLAPPEDWINDOW));
  app.m_pMainWnd = launcher;
  ASSERT_EQ(startUp(), 1);
  // MPEG-1 at 320 x 240 keeps the encoding quick.
  settings().RecordFormat = 0;
  settings().RecordQuality = 1;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "RecordingTestVideo";
  RegisterClassA(&wc);
  video = CreateWindowExA(0, "RecordingTestVideo", "TV", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                          nullptr, nullptr, nullptr);
  ASSERT_NE(video, nullptr);
  launcher->video = video;
  setFreeMB(4096);
}

RecordingTest::~RecordingTest() {
  deleteController();
  app.m_pMainWnd = nullptr;
  if (launcher) launcher->DestroyWindow();
  if (IsWindow(video)) DestroyWindow(video);
}

void RecordingTest::setFreeMB(unsigned long long megabytes) {
  const std::string drive(1, settings().VideoFolder[0]);
  machine().ini().setValue("DriveFreeSpace", drive, std::to_string(megabytes << 20));
}

std::shared_ptr<plat::VideoSurface> RecordingTest::surface() {
  const auto owned = machine().service<plat::VideoSurfaces>().ownedBy(video);
  return owned.empty() ? nullptr : owned.front();
}

void RecordingTest::pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void RecordingTest::run(int ms, int step) {
  // The robot stops at each timer and each time a streaming thread waits for, and lets the
  // streaming threads settle after every step.
  plat::Robot robot;
  for (int done = 0; done < ms; done += step) {
    for (auto left = static_cast<std::uint64_t>(step); left > 0;) {
      left -= robot.advanceStep(left);
      pump();
    }
  }
}

bool RecordingTest::pictureMoves(int frames) {
  const auto shown = surface();
  if (!shown) return false;
  const auto before = shown->framesShown();
  run(40 * (frames + 5));
  return shown->framesShown() >= before + static_cast<std::uint64_t>(frames);
}

std::vector<std::string> RecordingTest::historyVideos() {
  std::vector<std::string> files;
  const std::string list = programPath(kMediaHistoryFile);
  if (!exists(list)) return files;
  const Bytes bytes = readBytes(list);
  const int count = intAt(bytes, 0);
  for (int i = 0; i < count; ++i) {
    const std::size_t record = 4 + 264 * static_cast<std::size_t>(i);
    EXPECT_EQ(intAt(bytes, record), 1) << "a video entry";
    files.push_back(textAt(bytes, record + 4, 260));
  }
  return files;
}

CScheduleItem RecordingTest::item(int secondsAhead, int duration, int recurrence, int mode, int action) {
  CScheduleItem made;
  made.start = static_cast<std::int32_t>(CTime::GetCurrentTime().GetTime() + secondsAhead);
  made.duration = duration;
  made.recurrence = recurrence;
  made.channel1 = 1;
  made.channel2 = 1;
  made.source = 0;
  made.mode = mode;
  made.action = action;
  return made;
}

}  // namespace test
