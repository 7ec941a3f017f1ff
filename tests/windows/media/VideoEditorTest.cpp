#include "windows/media/VideoEditorTest.h"

#include "platform/dshow/MediaFileWriter.h"
#include "skin/CSkinButton.h"
#include "skin/CIniFile.h"
#include "skin/CSkinButtonEx.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"

#include <graphs/DeviceUtilities.h>
#include <robot/Screenshot.h>

#include <cstdlib>

namespace test {

namespace {

// A main window that only records the system commands it is asked.
class MainWindowSpy : public CWnd {
 public:
  std::vector<WPARAM> commands;

 protected:
  afx_msg void OnSysCommand(UINT nID, LPARAM) { commands.push_back(nID); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MainWindowSpy, CWnd)
  ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

// The clip slider's thumb is 24 pixels wide: its centre travels 336 pixels of its 360.
constexpr int kThumbHalf = 12;
constexpr int kTravel = 336;

}  // namespace

VideoEditorTest::VideoEditorTest() {
  useBuiltSkins();
  const auto built = TestMachine::builtProgramFolder() / "Filter" / "qnmpeg2enc.ax";
  std::filesystem::copy_file(built, testMachine.programFolder() / "Filter" / "qnmpeg2enc.ax",
                             std::filesystem::copy_options::overwrite_existing);
  RegisterFilterModule("Filter\\qnmpeg2enc.ax");
}

CVideoDlg& VideoEditorTest::openEditor() {
  if (!launcher) openLauncher();
  clickButton(*launcher, "VIDEO_BUTTON");
  EXPECT_TRUE(editorOpen());
  return editor();
}

std::filesystem::path VideoEditorTest::linuxOf(const std::string& windowsPath) {
  return machine().paths().toLinux(windowsPath);
}

std::string VideoEditorTest::putClip(const std::string& name, double seconds) {
  const std::string path = "C:\\Clips\\" + name;
  std::filesystem::create_directories(linuxOf("C:\\Clips"));
  EXPECT_TRUE(dstest::MediaFileWriter::write(linuxOf(path), dstest::MediaFileWriter::Kind::MpegProgram, seconds));
  return path;
}

void VideoEditorTest::addClip(const std::string& windowsPath) {
  robot.answerNextFileDialog(windowsPath);
  press("ADD_BUTTON");
}

void VideoEditorTest::openClip(int index) {
  CImageListView& view = *editor().GetClipList().GetListView();
  CRect bounds;
  view.GetItemRect(index, &bounds, LVIR_ICON);
  POINT middle = bounds.CenterPoint();
  ClientToScreen(view.GetSafeHwnd(), &middle);
  robot.doubleClick(middle);
  robot.pumpUntilIdle();
}

void VideoEditorTest::loadClip(const std::string& windowsPath) {
  addClip(windowsPath);
  openClip(editor().GetClipList().GetItemCount() - 1);
  press("PAUSE_BUTTON");
}

void VideoEditorTest::press(const char* name) {
  if (CSkinButtonEx* button = radio(name)) {
    robot.click(button->GetSafeHwnd());
    robot.pumpUntilIdle();
    return;
  }
  clickButton(editor(), name);
}

void VideoEditorTest::setClipSlider(int position) {
  CBitmapSlider& slider = editor().GetClipSlider();
  CRect client;
  slider.GetClientRect(&client);
  const auto clickAt = [&](int pos) {
    // The first pixel whose position is `pos`.
    POINT at{kThumbHalf + (pos * kTravel + 99) / 100, client.Height() / 2};
    ClientToScreen(slider.GetSafeHwnd(), &at);
    robot.click(at);
    robot.pumpUntilIdle();
  };
  // A press on the thumb itself drags it from where it was taken: start away from it.
  if (std::abs(position - slider.GetPos()) * kTravel / 100 <= kThumbHalf) clickAt(position < 50 ? 100 : 0);
  clickAt(position);
  EXPECT_EQ(slider.GetPos(), position);
}

void VideoEditorTest::cut(int start, int end) {
  setClipSlider(start);
  press("CUTLEFT_BUTTON");
  setClipSlider(end);
  press("CUTRIGHT_BUTTON");
  press("CUT_BUTTON");
}

void VideoEditorTest::play(int ms) {
  for (int done = 0; done < ms; done += 40) {
    robot.advance(40);
    robot.pumpUntilIdle();
  }
}

std::vector<WPARAM> VideoEditorTest::askedOfMainWindow(const std::function<void()>& act) {
  auto* spy = new MainWindowSpy;
  EXPECT_TRUE(spy->CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100), nullptr, 0));
  app.m_pMainWnd = spy;
  act();
  robot.pumpUntilIdle();
  app.m_pMainWnd = launcher.get();
  const std::vector<WPARAM> commands = spy->commands;
  spy->DestroyWindow();
  delete spy;
  return commands;
}

std::vector<std::string> VideoEditorTest::messageTexts() {
  std::vector<std::string> texts;
  for (const auto& box : robot.messageBoxes()) texts.push_back(box.text);
  return texts;
}

std::vector<std::string> VideoEditorTest::captureFiles() {
  std::vector<std::string> found;
  for (const std::string& name : tempFileNames())
    if (name.rfind("cap", 0) == 0) found.push_back(name);
  return found;
}

bool VideoEditorTest::enabled(const char* name) {
  const CSkinButton* button = editor().FindSkinButton(name);
  return button && button->IsEnabled();
}

// A radio button shows its checked image (or the checked one under the pointer) where its
// skin strip's checked images differ from the unchecked ones.
bool VideoEditorTest::showsChecked(const char* name) {
  CSkinButtonEx* button = radio(name);
  if (!button) return false;
  button->UpdateWindow();
  const CIniFile ini(editor().GetSkinFile());
  SkinButtonEntry entry;
  for (int key = 1; ReadButtonEntry(ini, "Video-RadioButton", key, entry); ++key)
    if (entry.strName == name) break;
  HBITMAP strip = nullptr;
  SIZE size{};
  if (!LoadPictureFile(CSkinDialog::GetFullPath(editor().GetSkinFile()) + entry.strImage, strip, size)) return false;
  const int w = entry.rcDesign.Width();
  const int x = w - 4;
  const int y = entry.rcDesign.Height() / 2;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, strip);
  const COLORREF shown = plat::Screenshot::windowPixel(button->GetSafeHwnd(), x, y);
  const bool asChecked = shown == GetPixel(dc, 2 * w + x, y) || shown == GetPixel(dc, 3 * w + x, y);
  const bool asUnchecked = shown == GetPixel(dc, x, y) || shown == GetPixel(dc, w + x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseBitmap(strip);
  return asChecked && !asUnchecked;
}

CRect VideoEditorTest::placeOf(const CWnd& control) {
  CRect rc;
  control.GetWindowRect(&rc);
  editor().ScreenToClient(&rc);
  return rc;
}

}  // namespace test
