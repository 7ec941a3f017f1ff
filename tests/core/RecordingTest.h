// Fixture of the controller's recording and schedule runs on the real graph engine and the
// simulated TV stick: a launcher as the program's main window that hands the controller
// its timers and opens the preview on UM_OPEN_TV_WINDOW, a video window, the Filter
// folder's modules as the installer leaves them, and the clock moved frame by frame.
#pragma once

#include "CoreTest.h"

#include "core/CScheduleList.h"

#include <machine/VideoSurface.h>
#include <mfc/afxwin.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace test {

// The launcher's part in a run: timers 500, 600 and 700 go to the controller, the TV window
// (the preview) opens when asked, and closing requests are written down, not carried out.
class Launcher : public CFrameWnd {
 public:
  HWND video = nullptr;
  std::vector<WPARAM> timers;
  int tvOpenings = 0;
  int closeRequests = 0;
  int systemCloses = 0;
  // Runs when WM_CLOSE arrives.
  std::function<void()> onClose;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class RecordingTest : public ControllerTest {
 protected:
  void SetUp() override;
  ~RecordingTest() override;

  CAppSettings& settings() { return *g_pAppSettings; }
  CScheduleList& schedule() { return *controller->GetScheduleList(); }
  int preview() { return controller->StartPreview(video); }
  // Free megabytes the record folder's drive reports.
  void setFreeMB(unsigned long long megabytes);
  // Moves the clock `ms` in steps (a frame's 40 ms by default), the streaming threads
  // settled and the thread's messages handled after each.
  void run(int ms, int step = 40);
  void pump();
  std::shared_ptr<plat::VideoSurface> surface();
  // The picture moves on: `frames` more are shown within as many steps and a few more.
  bool pictureMoves(int frames);
  // The files of the history list of videos, in list order.
  std::vector<std::string> historyVideos();
  std::filesystem::path recordFolder() { return linuxPath(settings().VideoFolder); }
  // A schedule item starting `secondsAhead` from now on the antenna's channel 1.
  CScheduleItem item(int secondsAhead, int duration, int recurrence, int mode, int action);

  CWinApp app;
  Launcher* launcher = nullptr;
  HWND video = nullptr;
};

}  // namespace test
