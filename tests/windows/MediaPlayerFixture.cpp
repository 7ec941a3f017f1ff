#include "windows/MediaPlayerFixture.h"

#include "core/MediaListFile.h"
#include "platform/dshow/MediaFileWriter.h"
#include "skin/CFolderPicker.h"
#include "skin/CShapeButton.h"
#include "skin/CShapeSlider.h"
#include "windows/main/CAVDlg.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/WindowMessages.h"

#include <com/ComPtr.h>
#include <dshow/dshow.h>
#include <machine/VideoSurfaces.h>

#include <cstring>
#include <fstream>

namespace test {

namespace {

constexpr std::size_t kRecordSize = 264;

}  // namespace

MediaPlayerTest::MediaPlayerTest() {
  writeSkins();
  WriteAVSkin(testMachine.programFolder());
  std::filesystem::create_directories(machine().paths().driveFolder('C') / "Videos");
}

std::filesystem::path MediaPlayerTest::linuxOf(const std::string& windowsPath) {
  return machine().paths().toLinux(windowsPath);
}

std::string MediaPlayerTest::putClip(const std::string& name, double seconds) {
  const std::string path = "C:\\Videos\\" + name;
  putClipAt(path, seconds);
  return path;
}

void MediaPlayerTest::putClipAt(const std::string& windowsPath, double seconds) {
  EXPECT_TRUE(
      dstest::MediaFileWriter::write(linuxOf(windowsPath), dstest::MediaFileWriter::Kind::MpegProgram, seconds));
}

void MediaPlayerTest::writeHistory(const std::vector<std::string>& paths) {
  Bytes bytes(4 + kRecordSize * paths.size(), 0);
  putInt(bytes, 0, static_cast<std::int32_t>(paths.size()));
  for (std::size_t i = 0; i < paths.size(); ++i) {
    putInt(bytes, 4 + i * kRecordSize, 1);
    putText(bytes, 8 + i * kRecordSize, paths[i]);
  }
  writeBytes(programPath(kMediaHistoryFile), bytes);
}

std::vector<std::string> MediaPlayerTest::history() {
  std::vector<std::string> paths;
  if (!exists(programPath(kMediaHistoryFile))) return paths;
  const Bytes bytes = readBytes(programPath(kMediaHistoryFile));
  const int count = intAt(bytes, 0);
  for (int i = 0; i < count; ++i) paths.push_back(textAt(bytes, 8 + kRecordSize * static_cast<std::size_t>(i), 260));
  return paths;
}

CAVDlg& MediaPlayerTest::openPlayer() {
  if (!launcher) openLauncher();
  clickButton(*launcher, "FILM_BUTTON");
  EXPECT_NE(g_pAVDlg, nullptr);
  return *g_pAVDlg;
}

CAVDlg& MediaPlayerTest::av() { return *g_pAVDlg; }

CImageListView& MediaPlayerTest::view() { return *av().GetMediaList().GetListView(); }

std::vector<std::string> MediaPlayerTest::listed() {
  std::vector<std::string> paths;
  for (int i = 0; i < view().GetItemCount(); ++i) paths.emplace_back(view().GetItem(i)->GetVideoPath());
  return paths;
}

POINT MediaPlayerTest::itemOnScreen(int index) {
  CRect bounds;
  view().GetItemRect(index, &bounds, LVIR_ICON);
  POINT middle = bounds.CenterPoint();
  ClientToScreen(view().GetSafeHwnd(), &middle);
  return middle;
}

void MediaPlayerTest::playEntry(int index) {
  robot.doubleClick(itemOnScreen(index));
  robot.pumpUntilIdle();
}

void MediaPlayerTest::chooseFromMenu(int index, UINT command) {
  view().SelectItem(index, FALSE);
  robot.duringModal([command](plat::Robot& r) { EXPECT_TRUE(r.chooseMenuCommand(command)); });
  robot.rightClick(itemOnScreen(index));
  robot.pumpUntilIdle();
}

void MediaPlayerTest::addFolder(const std::string& windowsFolder) {
  robot.duringModal([](plat::Robot& r) { EXPECT_TRUE(r.chooseMenuCommand(CImageListView::ID_LIST_ADD_FOLDER)); });
  robot.duringModal([&](plat::Robot& r) {
    HWND browser = FindWindowA("#32770", "Select Input File Path:");
    ASSERT_NE(browser, nullptr);
    HWND edit = GetDlgItem(browser, CFolderPicker::kEditId);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    r.type(windowsFolder.c_str());
    r.click(GetDlgItem(browser, IDOK));
  });
  robot.rightClick(itemOnScreen(0));
  robot.pumpUntilIdle();
}

void MediaPlayerTest::barCommand(const char* name) {
  SendMessageA(av().GetSafeHwnd(), UM_BAR_COMMAND, reinterpret_cast<WPARAM>(name), 0);
  robot.pumpUntilIdle();
}

void MediaPlayerTest::clickBarButton(const char* name) {
  robot.moveTo(POINT{500, 300});
  robot.advance(100);
  robot.click(av().GetControlBar()->FindButton(name)->GetSafeHwnd());
  robot.pumpUntilIdle();
}

BOOL MediaPlayerTest::barEnabled(const char* name) { return av().GetControlBar()->FindButton(name)->IsButtonEnabled(); }

int MediaPlayerTest::progress() { return av().GetControlBar()->FindProgress("PROGRESS_POS")->GetPos(); }

void MediaPlayerTest::ctrlKey(int vk, bool shift) {
  robot.press(VK_CONTROL);
  if (shift) robot.press(VK_SHIFT);
  robot.key(vk);
  if (shift) robot.release(VK_SHIFT);
  robot.release(VK_CONTROL);
  robot.pumpUntilIdle();
}

double MediaPlayerTest::position() {
  IMediaEventEx* events = g_pAppController ? g_pAppController->GetGraphEventInterface() : nullptr;
  plat::ComPtr<IMediaSeeking> seeking;
  if (!events || FAILED(events->QueryInterface(IID_IMediaSeeking, seeking.putVoid()))) return -1;
  LONGLONG units = 0;
  seeking->GetCurrentPosition(&units);
  return static_cast<double>(units) * 1e-7;
}

bool MediaPlayerTest::advanceUntil(const std::function<bool()>& done) {
  for (int ms = 0; !done(); ms += 40) {
    if (ms >= 60000) return false;
    robot.advance(40);
  }
  return true;
}

bool MediaPlayerTest::liveFor(int ms) {
  const auto shown = [this] {
    std::uint64_t frames = 0;
    for (const auto& surface : machine().service<plat::VideoSurfaces>().all()) frames += surface->framesShown();
    return frames;
  };
  for (int passed = 0; passed < ms; passed += 40) {
    const auto before = shown();
    robot.advance(40);
    if (shown() == before) return false;
  }
  return true;
}

int MediaPlayerTest::runState() { return g_pAppController ? g_pAppController->GetRunState() : -1; }

}  // namespace test
