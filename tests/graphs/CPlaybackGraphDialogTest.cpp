// Playing a file the user picks: the open-file dialog with its flags and file types, the
// application's main window told before and after it however it ends, a cancel that
// leaves a playing file alone, and a paused file that resumes without a dialog.
#include "PlaybackTest.h"

#include <mfc/afxwin.h>
#include <robot/Robot.h>
#include <win32/commdlg/commdlg.h>

#include <fstream>

namespace {

using test::ScriptedFileGraph;

constexpr LONGLONG kSecond = 10000000;

std::vector<UINT> g_notices;

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CPlaybackGraph::UM_FILE_DIALOG_OPENING || message == CPlaybackGraph::UM_FILE_DIALOG_CLOSED)
    g_notices.push_back(message);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class PlaybackDialogTest : public test::PlaybackTest {
 protected:
  void SetUp() override {
    PlaybackTest::SetUp();
    g_notices.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = "PlaybackDialogMain";
    RegisterClassA(&wc);
    main.Attach(CreateWindowExA(0, "PlaybackDialogMain", "main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr, nullptr, nullptr));
    app.m_pMainWnd = &main;
    std::filesystem::create_directories(machine().paths().driveFolder('C') / "Videos");
    std::ofstream(machine().paths().driveFolder('C') / "Videos" / "chosen.mpg") << "clip";
    object.next = plat::ComPtr<ScriptedFileGraph>::adopt(new ScriptedFileGraph(engine.get()));
    object.next->duration = 60 * kSecond;
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    DestroyWindow(main.Detach());
    PlaybackTest::TearDown();
  }

  CWinApp app;
  CWnd main;
  test::ScriptedPlayback object;
  plat::Robot robot;
};

const std::vector<UINT> kAroundTheDialog = {CPlaybackGraph::UM_FILE_DIALOG_OPENING,
                                            CPlaybackGraph::UM_FILE_DIALOG_CLOSED};

TEST_F(PlaybackDialogTest, TheChosenFilePlaysAndTheMainWindowHearsOfTheDialog) {
  ScriptedFileGraph* graph = object.next.get();
  robot.answerNextFileDialog("C:\\Videos\\chosen.mpg");
  EXPECT_EQ(object.PlayFile(window()), CPlaybackGraph::kPlaying);
  ASSERT_EQ(graph->rendered.size(), 1u);
  EXPECT_EQ(graph->rendered[0], L"C:\\Videos\\chosen.mpg");
  EXPECT_TRUE(object.IsPlaying());
  EXPECT_EQ(g_notices, kAroundTheDialog);

  const auto dialogs = robot.fileDialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_FALSE(dialogs[0].save);
  EXPECT_EQ(dialogs[0].flags & (OFN_FILEMUSTEXIST | OFN_HIDEREADONLY), static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY));
  const std::vector<std::pair<std::string, std::string>> types = {{"MPEG File (*.mpg;*.mpeg)", "*.mpg;*.mpeg"},
                                                                  {"AVI File (*.avi)", "*.avi"},
                                                                  {"Mp3 File (*.mp3)", "*.mp3"},
                                                                  {"Wave File (*.wav)", "*.wav"},
                                                                  {"All Files (*.*)", "*.*"}};
  EXPECT_EQ(dialogs[0].types, types);
  EXPECT_EQ(dialogs[0].answer, IDOK);
}

TEST_F(PlaybackDialogTest, ACancelledDialogIsMinusThreeAndLeavesAPlayingFileAlone) {
  ScriptedFileGraph* graph = object.next.get();
  robot.cancelNextFileDialog();
  EXPECT_EQ(object.PlayFile(window()), CPlaybackGraph::kCancelled);
  EXPECT_TRUE(graph->rendered.empty());
  EXPECT_TRUE(object.IsClosed());
  EXPECT_EQ(g_notices, kAroundTheDialog);

  ASSERT_EQ(object.OpenAndPlay(window(), "C:\\Videos\\first.mpg"), CPlaybackGraph::kPlaying);
  g_notices.clear();
  robot.cancelNextFileDialog();
  EXPECT_EQ(object.PlayFile(window()), CPlaybackGraph::kCancelled);
  EXPECT_TRUE(object.IsPlaying());
  EXPECT_EQ(object.GetGraph(), graph) << "the playing file's graph stays";
  EXPECT_EQ(graph->rendered.size(), 1u);
  EXPECT_EQ(g_notices, kAroundTheDialog);
}

TEST_F(PlaybackDialogTest, APausedFileResumesWithoutADialogAndNoWindowAsksNothing) {
  EXPECT_EQ(object.PlayFile(nullptr), CPlaybackGraph::kBadArgument);
  ScriptedFileGraph* graph = object.next.get();
  ASSERT_EQ(object.OpenAndPlay(window(), "C:\\Videos\\first.mpg"), CPlaybackGraph::kPlaying);
  ASSERT_TRUE(object.Pause());
  EXPECT_EQ(object.PlayFile(window()), CPlaybackGraph::kPlaying);
  EXPECT_TRUE(object.IsPlaying());
  EXPECT_EQ(graph->runs, 2);
  EXPECT_TRUE(robot.fileDialogs().empty());
  EXPECT_TRUE(g_notices.empty());
}

TEST_F(PlaybackDialogTest, WithoutAMainWindowTheDialogStillRuns) {
  app.m_pMainWnd = nullptr;
  robot.answerNextFileDialog("C:\\Videos\\chosen.mpg");
  CString path;
  EXPECT_TRUE(CPlaybackGraph::ChooseMediaFile(path));
  EXPECT_EQ(path, "C:\\Videos\\chosen.mpg");
  EXPECT_TRUE(g_notices.empty());
}

}  // namespace
