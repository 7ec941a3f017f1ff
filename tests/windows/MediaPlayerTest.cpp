// The media player as the user drives it: opened from the launcher with the video history,
// a clip played from the list, paused, resumed, stopped and skipped ten seconds both ways
// from the bar and the keys, the volume, the progress and seeking with it, full screen
// and back, the end of a file, and the list's file dialog and folder picker.
#include "windows/MediaPlayerFixture.h"

#include "core/CDisplayMode.h"
#include "core/MediaListFile.h"
#include "core/data/CChannelList.h"
#include "platform/dshow/MediaFileWriter.h"
#include "skin/CShapeSlider.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinSlider.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CAVDlg.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <graphs/DeviceUtilities.h>
#include <machine/VideoSurfaces.h>
#include <robot/Screenshot.h>
#include <win32/codepage.h>
#include <win32/commdlg/commdlg.h>

#include <fstream>

namespace {

using View = CImageListView;

class MediaPlayerPlayTest : public test::MediaPlayerTest {
 protected:
  // A 30-second clip, listed and playing, its picture shown.
  void playLongClip() {
    writeHistory({putClip("long.mpg", 30)});
    openPlayer();
    playEntry(0);
    ASSERT_EQ(runState(), 4);
    ASSERT_TRUE(advanceUntil([&] { return position() >= 2.0; }));
  }
};

TEST_F(MediaPlayerPlayTest, OpensFromTheLauncherWithTheHistoryInItsOrder) {
  const auto first = putClip("first.mpg", 1);
  const auto second = putClip("second.mpg", 1);
  writeHistory({first, second});
  CAVDlg& player = openPlayer();
  EXPECT_TRUE(player.IsWindowVisible());
  EXPECT_FALSE(launcher->IsWindowVisible());
  EXPECT_EQ(FindWindowA("#32770", "Orvane Media_AVDlg"), player.GetSafeHwnd());
  EXPECT_EQ(g_pDisplayMode->GetMode(), 115);
  EXPECT_EQ(runState(), 1) << "media mode";
  EXPECT_TRUE(player.ReturnsToLauncher());
  CRect rect;
  player.GetWindowRect(&rect);
  EXPECT_EQ(test::Text(rect), "0,0,1024,768");
  player.GetVideoArea()->GetWindowRect(&rect);
  EXPECT_EQ(test::Text(rect), "193,79,993,649");
  player.GetMediaList().GetWindowRect(&rect);
  EXPECT_EQ(test::Text(rect), "12,112,181,596");
  EXPECT_TRUE(player.GetMediaList().IsWindowVisible());
  EXPECT_EQ(listed(), (std::vector<std::string>{first, second}));
  ASSERT_NE(player.GetControlBar(), nullptr);
  EXPECT_EQ(player.GetControlBar()->GetButtons().size(), 12u);
  EXPECT_EQ(player.GetControlBar()->GetVolumeSlider()->GetPos(), CAppController::GetVolume());
  EXPECT_FALSE(barEnabled("PLAY_MOVIE")) << "nothing chosen yet";
}

TEST_F(MediaPlayerPlayTest, AChosenEntryPlaysPausesResumesAndStopsFromTheBar) {
  writeHistory({putClip("other.mpg", 1), putClip("long.mpg", 30)});
  openPlayer();
  robot.click(itemOnScreen(1));
  EXPECT_TRUE(barEnabled("PLAY_MOVIE")) << "an entry is ready to play";
  clickBarButton("PLAY_MOVIE");
  ASSERT_EQ(runState(), 4);
  EXPECT_EQ(av().GetCurrentIndex(), 1);
  EXPECT_TRUE(barEnabled("PAUSE_MOVIE"));
  EXPECT_FALSE(barEnabled("PLAY_MOVIE"));
  const auto surfaces = machine().service<plat::VideoSurfaces>().ownedBy(av().GetVideoArea()->GetSafeHwnd());
  ASSERT_EQ(surfaces.size(), 1u) << "the file is drawn in the video area";
  ASSERT_TRUE(advanceUntil([&] { return position() >= 4.5; }));
  EXPECT_GE(progress(), 9) << "the progress follows timer 655";

  clickBarButton("PAUSE_MOVIE");
  EXPECT_TRUE(g_pAppController->IsMediaOpen()) << "held paused";
  EXPECT_TRUE(barEnabled("PLAY_MOVIE"));
  EXPECT_FALSE(barEnabled("PAUSE_MOVIE"));
  const double paused = position();
  robot.advance(1000);
  EXPECT_NEAR(position(), paused, 0.05);

  clickBarButton("PLAY_MOVIE");
  EXPECT_TRUE(g_pAppController->IsMediaRunning());
  EXPECT_TRUE(barEnabled("PAUSE_MOVIE"));
  ASSERT_TRUE(advanceUntil([&] { return position() >= paused + 1.0; }));

  clickBarButton("STOP_MOVIE");
  EXPECT_EQ(runState(), 1);
  EXPECT_EQ(progress(), 0);
  EXPECT_EQ(plat::Screenshot::screenPixel(593, 364), RGB(0, 0, 0)) << "the video area is black again";
  EXPECT_EQ(av().GetCurrentIndex(), -1);
  EXPECT_FALSE(barEnabled("STOP_MOVIE"));
  EXPECT_EQ(GetFocus(), av().GetSafeHwnd()) << "the player takes the focus after a bar command";
}

// A skip past the end ends the file as playing to its end does, at once, and the player
// goes on as after any end.
TEST_F(MediaPlayerPlayTest, TenSecondSkipsStopAtBothEndsOfTheFile) {
  playLongClip();
  barCommand("BACK_MOVIE");
  EXPECT_NEAR(position(), 0.0, 0.3) << "fewer than ten seconds in: back to the start";
  barCommand("AHEAD_MOVIE");
  EXPECT_NEAR(position(), 10.0, 0.5);
  ctrlKey('F', true);
  EXPECT_NEAR(position(), 20.0, 0.5);
  ASSERT_TRUE(advanceUntil([&] { return position() >= 23.0; }));
  ctrlKey('D', true);
  EXPECT_NEAR(position(), 13.0, 0.5);
  ASSERT_TRUE(advanceUntil([&] { return position() >= 21.0; }));
  ctrlKey('F', true);
  for (int ms = 0; ms < 1000 && runState() != 1; ms += 40) robot.advance(40);
  EXPECT_EQ(runState(), 1) << "fewer than ten seconds left: the end";
  EXPECT_EQ(av().GetCurrentIndex(), -1);
  EXPECT_EQ(progress(), 0);
  EXPECT_EQ(plat::Screenshot::screenPixel(593, 364), RGB(0, 0, 0));

  playEntry(0);
  ASSERT_EQ(runState(), 4) << "and plays the next file";
  barCommand("AHEAD_MOVIE");
  EXPECT_NEAR(position(), 10.0, 0.5);
  barCommand("STOP_MOVIE");
  barCommand("AHEAD_MOVIE");
  ctrlKey('D', true);
  EXPECT_EQ(runState(), 1) << "no file: nothing to skip";
}

TEST_F(MediaPlayerPlayTest, TheVolumeFollowsTheBarTheKeysAndTheSliderOnlyWhileAFileIsOpen) {
  writeHistory({putClip("long.mpg", 30)});
  openPlayer();
  const int volume = CAppController::GetVolume();
  barCommand("ADD_SND");
  robot.key(VK_F9);
  SendMessageA(av().GetSafeHwnd(), UM_SLIDER_SET, CShapeBarDlg::kVolumeSliderId, 10);
  EXPECT_EQ(CAppController::GetVolume(), volume) << "no file open";

  playEntry(0);
  barCommand("ADD_SND");
  EXPECT_EQ(CAppController::GetVolume(), volume + 5);
  EXPECT_EQ(av().GetControlBar()->GetVolumeSlider()->GetPos(), volume + 5);
  robot.key(VK_F9);
  EXPECT_EQ(CAppController::GetVolume(), volume);
  robot.key(VK_F10);
  EXPECT_EQ(CAppController::GetVolume(), volume + 5);
  barCommand("SUB_SND");
  EXPECT_EQ(av().GetControlBar()->GetVolumeSlider()->GetPos(), volume);
  SendMessageA(av().GetSafeHwnd(), UM_SLIDER_TRACK, CShapeBarDlg::kVolumeSliderId, 30);
  EXPECT_EQ(CAppController::GetVolume(), 30);

  // F8 mutes and keeps the stored volume: pressed again, the sound comes back at it.
  robot.key(VK_F8);
  EXPECT_EQ(g_pAppController->IsMuted(), 1);
  robot.key(VK_F8);
  EXPECT_EQ(g_pAppController->IsMuted(), 0);
  EXPECT_EQ(CAppController::GetVolume(), 30);
  // The bar's mute button sets the volume to nothing, however often it is pressed.
  barCommand("MUTE_SND");
  EXPECT_EQ(CAppController::GetVolume(), 0);
  EXPECT_EQ(g_pAppController->IsMuted(), 0);
  barCommand("MUTE_SND");
  EXPECT_EQ(CAppController::GetVolume(), 0);
  barCommand("ADD_SND");
  EXPECT_EQ(CAppController::GetVolume(), 5) << "and the sound comes back from there";

  barCommand("STOP_MOVIE");
  barCommand("MUTE_SND");
  EXPECT_EQ(CAppController::GetVolume(), 5) << "no file open";
}

TEST_F(MediaPlayerPlayTest, DraggingTheProgressSeeksWhilePlayingAndWhilePaused) {
  playLongClip();
  CShapeSlider& slider = *av().GetControlBar()->FindProgress("PROGRESS_POS");
  const auto dragTo = [&](double share) {
    robot.moveTo(POINT{500, 300});
    robot.advance(100);
    CRect rect;
    slider.GetWindowRect(&rect);
    const int y = rect.CenterPoint().y;
    robot.drag(POINT{rect.left + slider.PosToPixel(slider.GetPos()), y},
               POINT{rect.left + static_cast<int>(rect.Width() * share), y});
    robot.pumpUntilIdle();
  };
  dragTo(0.5);
  EXPECT_NEAR(progress(), 50, 3);
  EXPECT_NEAR(position(), 15.0, 1.0);
  EXPECT_TRUE(g_pAppController->IsMediaRunning());

  barCommand("PAUSE_MOVIE");
  dragTo(0.8);
  EXPECT_NEAR(progress(), 80, 3);
  EXPECT_NEAR(position(), 24.0, 1.0) << "a paused file seeks too";
  EXPECT_TRUE(g_pAppController->IsMediaOpen());
  EXPECT_FALSE(g_pAppController->IsMediaRunning()) << "and stays paused";
  robot.advance(3000);
  EXPECT_NEAR(position(), 24.0, 1.0) << "where it was dropped";
  EXPECT_EQ(GetFocus(), av().GetSafeHwnd());
}

TEST_F(MediaPlayerPlayTest, FullScreenAndBackByThePictureTheKeysAndTheRemote) {
  playLongClip();
  CVideoStaticEx& video = *av().GetVideoArea();
  robot.doubleClick(video.GetSafeHwnd());
  robot.pumpUntilIdle();
  ASSERT_TRUE(av().IsFullScreen());
  CRect rect;
  video.GetWindowRect(&rect);
  EXPECT_EQ(test::Text(rect), "0,0,1024,768");
  EXPECT_FALSE(av().FindSkinButton("RETURN_BUTTON")->IsWindowVisible());
  EXPECT_FALSE(av().FindSkinButton("RETURN_BUTTON")->IsEnabled());
  EXPECT_FALSE(av().GetMediaList().IsWindowVisible());

  robot.key(VK_ESCAPE);
  EXPECT_FALSE(av().IsFullScreen());
  video.GetWindowRect(&rect);
  EXPECT_EQ(test::Text(rect), "193,79,993,649");
  EXPECT_TRUE(av().GetMediaList().IsWindowVisible());
  EXPECT_TRUE(av().FindSkinButton("RETURN_BUTTON")->IsWindowVisible());

  // The first click after leaving does not press a button; the next one does.
  clickButton(av(), "FULLSCREEN_BUTTON");
  EXPECT_FALSE(av().IsFullScreen());
  clickButton(av(), "FULLSCREEN_BUTTON");
  EXPECT_TRUE(av().IsFullScreen());

  robot.press(VK_MENU);
  robot.key(VK_RETURN);
  robot.release(VK_MENU);
  robot.pumpUntilIdle();
  EXPECT_FALSE(av().IsFullScreen());
  remoteKey(74);
  EXPECT_TRUE(av().IsFullScreen());
  remoteKey(74);
  EXPECT_FALSE(av().IsFullScreen());
  EXPECT_TRUE(g_pAppController->IsMediaRunning()) << "the file played on throughout";
}

TEST_F(MediaPlayerPlayTest, AtTheEndOfTheFileThePlayerIsReadyForTheNext) {
  writeHistory({putClip("short.mpg", 1.5)});
  openPlayer();
  playEntry(0);
  ASSERT_EQ(runState(), 4);
  ASSERT_TRUE(advanceUntil([&] { return runState() == 1; })) << "the launcher relays the end to the player";
  EXPECT_EQ(av().GetCurrentIndex(), -1);
  EXPECT_EQ(progress(), 0);
  EXPECT_FALSE(g_pAppController->IsMediaFileOpen());
  robot.pumpUntilIdle();
  EXPECT_EQ(plat::Screenshot::screenPixel(593, 364), RGB(0, 0, 0)) << "the video area is black again";
  playEntry(0);
  EXPECT_EQ(runState(), 4) << "and plays it again";
}

// An AVI plays to its end like a recording. A file of sound only, an MP3 or a WAV, has no
// first picture for a thumbnail, and the list keeps out what it cannot show.
TEST_F(MediaPlayerPlayTest, AnAviPlaysToItsEndAndSoundOnlyFilesAreNotListed) {
  writeHistory({});
  const std::string avi = "C:\\Videos\\clip.avi", mp3 = "C:\\Videos\\song.mp3", wav = "C:\\Videos\\tone.wav";
  using Kind = dstest::MediaFileWriter::Kind;
  ASSERT_TRUE(dstest::MediaFileWriter::write(linuxOf(avi), Kind::Avi, 1.5));
  ASSERT_TRUE(dstest::MediaFileWriter::write(linuxOf(mp3), Kind::Mp3, 1.5));
  ASSERT_TRUE(dstest::MediaFileWriter::write(linuxOf(wav), Kind::Wave, 1.5));
  openPlayer();
  for (const std::string& file : {mp3, wav, avi}) {
    robot.answerNextFileDialog(file);
    chooseFromMenu(0, View::ID_LIST_ADD_FILE);
  }
  ASSERT_EQ(listed(), std::vector<std::string>{avi});
  playEntry(0);
  ASSERT_EQ(runState(), 4);
  ASSERT_TRUE(advanceUntil([&] { return position() >= 1.0; }));
  robot.pumpUntilIdle();
  EXPECT_NE(plat::Screenshot::screenPixel(593, 364), RGB(0, 0, 0)) << "the clip's picture shows";
  ASSERT_TRUE(advanceUntil([&] { return runState() == 1; }));
  EXPECT_EQ(av().GetCurrentIndex(), -1);
  EXPECT_EQ(progress(), 0);
}

TEST_F(MediaPlayerPlayTest, AFileIsAddedThroughTheOpenDialogAndACancelAddsNothing) {
  const auto clip = putClip("added.mpg", 1);
  writeHistory({putClip("first.mpg", 1)});
  openPlayer();
  robot.answerNextFileDialog(clip);
  chooseFromMenu(0, View::ID_LIST_ADD_FILE);
  EXPECT_EQ(listed().back(), clip);
  const auto dialogs = robot.fileDialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  const std::vector<std::pair<std::string, std::string>> types = {
      {"MPEG File (*.mpg;*.mpeg)", "*.mpg;*.mpeg"}, {"AVI File (*.avi)", "*.avi"}, {"All Files (*.*)", "*.*"}};
  EXPECT_EQ(dialogs[0].types, types);
  EXPECT_EQ(dialogs[0].flags & (OFN_HIDEREADONLY | OFN_FILEMUSTEXIST), static_cast<DWORD>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST));

  robot.cancelNextFileDialog();
  chooseFromMenu(0, View::ID_LIST_ADD_FILE);
  EXPECT_EQ(listed().size(), 2u);
  EXPECT_EQ(robot.fileDialogs().back().answer, IDCANCEL);
}

TEST_F(MediaPlayerPlayTest, AFoldersVideosAreAddedAfterThoseListed) {
  machine().ini().setValue("Windows", "Language", "1");
  const auto first = putClip("first.mpg", 1);
  writeHistory({first});
  std::filesystem::create_directories(linuxOf("C:\\Clips"));
  putClipAt("C:\\Clips\\a.mpg", 1);
  std::ofstream(linuxOf("C:\\Clips\\notes.txt")) << "not a video";
  openPlayer();
  addFolder("C:\\Clips");
  EXPECT_EQ(listed(), (std::vector<std::string>{first, "C:\\Clips\\a.mpg"}));
}

// The Chinese wordings of the folder picker, for the two Chinese UI languages, in the
// machine's code page.
TEST_F(MediaPlayerPlayTest, TheFolderPickerSpeaksTheInstalledLanguage) {
  machine().ini().setValue("Windows", "AnsiCodePage", "950");
  machine().ini().setValue("Windows", "Language", "3");
  writeHistory({putClip("first.mpg", 1)});
  openPlayer();
  const auto ansi = [](const char* utf8) {
    WCHAR wide[64] = {};
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 64);
    char text[128] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return std::string(text);
  };
  ASSERT_EQ(ansi("選擇輸入檔案路徑:").size(), 17u) << "eight characters of two bytes in Big5, and the colon";
  HWND browser = nullptr;
  robot.duringModal([](plat::Robot& r) { EXPECT_TRUE(r.chooseMenuCommand(View::ID_LIST_ADD_FOLDER)); });
  robot.duringModal([&](plat::Robot& r) {
    browser = FindWindowA("#32770", ansi("選擇輸入檔案路徑:").c_str());
    r.key(VK_ESCAPE);
  });
  robot.rightClick(itemOnScreen(0));
  robot.pumpUntilIdle();
  EXPECT_NE(browser, nullptr);
  EXPECT_EQ(listed().size(), 1u) << "cancelled: nothing added";
}

// The road a recording takes: made in the TV window, found in the player its recordings
// button opens, and played there; the screen is saved for a look, in the default skins.
TEST_F(MediaPlayerPlayTest, ARecordingMadeInTheTVWindowPlaysInTheProductsLook) {
  const auto built = test::TestMachine::builtProgramFolder();
  ASSERT_TRUE(std::filesystem::exists(built / "Skin" / "AV" / "skin.ini"));
  for (const char* folder : {"Skin", "skins"})
    std::filesystem::copy(built / folder, testMachine.programFolder() / folder,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  RegisterFilterModule("Filter\\Branchel.ax");
  CTVDlg& tv = openTV();
  g_pChannelList->SetCurrentChannel(2, GetActiveChannelListIndex());  // a station on the air
  g_pAppController->RetuneCurrentChannel();
  ASSERT_TRUE(untilAPictureShows());
  ctrlKey('R');
  ASSERT_EQ(runState(), 3);
  ASSERT_TRUE(liveFor(6000));
  ctrlKey('S');
  ASSERT_EQ(runState(), 2);
  const std::string recording = programPath("Videos\\cap00.mpg");
  ASSERT_EQ(history(), std::vector<std::string>{recording});

  clickButton(tv, "RECORDTV_BUTTON");
  ASSERT_NE(g_pAVDlg, nullptr);
  ASSERT_EQ(listed(), std::vector<std::string>{recording});
  playEntry(0);
  ASSERT_EQ(runState(), 4);
  // The notice of the recording's name has slid away by then.
  ASSERT_TRUE(advanceUntil([&] { return position() >= 4.5; }));
  robot.moveTo(POINT{600, 360});
  robot.advance(100);
  robot.pumpUntilIdle();
  ASSERT_TRUE(av().GetControlBar()->IsShown());

  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "windows-screens";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(plat::Screenshot::saveScreen(folder / "MediaPlayer.png"));
  // The recorded picture fills the video area; the panel's colour shows around the list.
  EXPECT_NE(plat::Screenshot::screenPixel(593, 364), RGB(0, 0, 0));
  EXPECT_EQ(plat::Screenshot::windowPixel(av().GetMediaList().GetListHwnd(), 150, 460), RGB(19, 27, 36));
}

// The AVIs the video editor renders (Motion JPEG with A-law sound) and an AVI stored
// from the top (as FFmpeg stores RGB) are listed by their first picture and play, and
// seek with the progress bar, the right way up; the screen is saved for a look.
TEST_F(MediaPlayerPlayTest, RenderedAndTopDownAvisPlayTheRightWayUp) {
  using Coding = dstest::MediaFileWriter::Coding;
  const std::string film = "C:\\Videos\\film.avi", topDown = "C:\\Videos\\topdown.avi";
  ASSERT_TRUE(dstest::MediaFileWriter::writeNumbered(linuxOf(film), Coding::MjpegAvi, 250));
  ASSERT_TRUE(dstest::MediaFileWriter::writeNumbered(linuxOf(topDown), Coding::RgbTopDownAvi, 250));
  writeHistory({film, topDown});
  openPlayer();
  ASSERT_EQ(listed(), (std::vector<std::string>{film, topDown}));
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "windows-screens";
  std::filesystem::create_directories(folder);
  HWND video = av().GetVideoArea()->GetSafeHwnd();
  for (int entry = 0; entry < 2; ++entry) {
    SCOPED_TRACE(listed()[static_cast<size_t>(entry)]);
    CRect thumb;
    view().GetItemRect(entry, &thumb, LVIR_ICON);
    const CPoint middle = thumb.CenterPoint();
    EXPECT_EQ(numberOnScreen(view().GetSafeHwnd(), CRect(middle.x - 28, middle.y - 28, middle.x + 28, middle.y + 28)), 0)
        << "the thumbnail shows the first picture";
    playEntry(entry);
    ASSERT_EQ(runState(), 4);
    ASSERT_TRUE(advanceUntil([&] { return position() >= 2.0; }));
    robot.settle();
    EXPECT_NEAR(numberOnScreen(video), position() * 25, 2) << "the picture of its time, the right way up";
    CShapeSlider& slider = *av().GetControlBar()->FindProgress("PROGRESS_POS");
    robot.moveTo(POINT{500, 300});
    robot.advance(100);
    CRect bar;
    slider.GetWindowRect(&bar);
    robot.drag(POINT{bar.left + slider.PosToPixel(slider.GetPos()), bar.CenterPoint().y},
               POINT{bar.left + bar.Width() * 8 / 10, bar.CenterPoint().y});
    robot.pumpUntilIdle();
    robot.settle();
    EXPECT_NEAR(position(), 8.0, 0.5) << "sought to 80 % of ten seconds";
    EXPECT_NEAR(numberOnScreen(video), position() * 25, 2);
    EXPECT_TRUE(plat::Screenshot::saveScreen(folder / ("MediaPlayer_" + std::to_string(entry) + ".png")));
    barCommand("STOP_MOVIE");
  }
}

}  // namespace
