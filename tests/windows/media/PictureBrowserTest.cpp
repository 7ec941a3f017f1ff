#include "windows/media/PictureBrowserTest.h"

#include "core/MediaListFile.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinLabel.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/WindowMessages.h"
#include "skin/CVideoStatic.h"
#include "windows/media/CDibLock.h"
#include "windows/media/CThumbnailListWnd.h"

#include <robot/Screenshot.h>
#include <vendor/pictorin/Pictorin.h>

#include <cstring>
#include <fstream>

namespace test {

PictureBrowserTest::PictureBrowserTest() {
  writeSkins();
  // The picture browser's skin as the build draws it.
  std::filesystem::copy(TestMachine::builtProgramFolder() / "Skin" / "Pic", programFile("Skin\\Pic"),
                        std::filesystem::copy_options::recursive);
  std::filesystem::create_directories(linuxOf("C:\\Pictures"));
}

PictureBrowserTest::~PictureBrowserTest() {
  if (::testing::Test::HasFailure()) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    plat::Screenshot::dump(std::string(info->test_suite_name()) + "." + info->name());
  }
  closeLauncher();
  robot.pumpUntilIdle();
}

std::filesystem::path PictureBrowserTest::linuxOf(const std::string& windowsPath) {
  return machine().paths().toLinux(windowsPath);
}

std::string PictureBrowserTest::putBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  WriteBytes(linuxOf("C:\\Pictures") / name, bytes);
  return "C:\\Pictures\\" + name;
}

std::string PictureBrowserTest::putPicture(const std::string& name, const TestPicture& picture) {
  return putBytes(name, BmpBytes(picture));
}

void PictureBrowserTest::writeHistory(const std::vector<std::string>& paths) {
  const std::string list = programFile(kPictureHistoryFile).string();
  std::filesystem::remove(list);
  for (const std::string& path : paths)
    ASSERT_TRUE(AppendMediaList((std::string(CSkinDialog::GetAppFolder()) + kPictureHistoryFile).c_str(), path.c_str(),
                                kMediaListPicture));
}

std::vector<std::string> PictureBrowserTest::historyPaths() {
  std::ifstream in(programFile(kPictureHistoryFile), std::ios::binary);
  std::int32_t count = 0;
  in.read(reinterpret_cast<char*>(&count), sizeof count);
  std::vector<std::string> paths;
  MediaListRecord record{};
  for (int i = 0; i < count && in.read(reinterpret_cast<char*>(&record), sizeof record); ++i) paths.emplace_back(record.Path);
  return paths;
}

CPICDlg& PictureBrowserTest::openBrowser() {
  if (!launcher) openLauncher();
  clickButton(*launcher, "PIC_BUTTON");
  browser = launcher->GetPICDlg();
  EXPECT_NE(browser, nullptr);
  return *browser;
}

CImageListView& PictureBrowserTest::view() { return *browser->GetThumbnailList()->GetListView(); }

POINT PictureBrowserTest::itemOnScreen(int index) {
  CRect bounds;
  view().GetItemRect(index, &bounds, LVIR_ICON);
  POINT middle = bounds.CenterPoint();
  ClientToScreen(view().GetSafeHwnd(), &middle);
  return middle;
}

void PictureBrowserTest::openItem(int index) {
  robot.doubleClick(itemOnScreen(index));
  robot.pumpUntilIdle();
}

void PictureBrowserTest::press(const char* name) { clickButton(*browser, name); }

void PictureBrowserTest::setSlider(UINT id, int position) {
  PostMessageA(browser->GetSafeHwnd(), UM_SLIDER_SET, id, position);
  robot.pumpUntilIdle();
}

std::vector<std::uint8_t> PictureBrowserTest::pictureBytes() {
  const CDibLock picture(CPICSkinDlg::GetCurrentPicture());
  if (!picture.IsUsable()) return {};
  return {picture.GetBits(), picture.GetBits() + picture.GetImageSize()};
}

std::vector<std::uint8_t> PictureBrowserTest::adjusted(const std::vector<std::uint8_t>& rows, UINT sliderId,
                                                       int strength) {
  const CDibLock picture(CPICSkinDlg::GetCurrentPicture());
  std::vector<std::uint8_t> out = rows;
  const int w = picture.GetWidth(), h = picture.GetHeight(), stride = picture.GetStride();
  switch (sliderId) {
    case CPICSkinDlg::kLightnessSlider: AdjustLightness(out.data(), w, h, 3, 3, stride, strength, 0); break;
    case CPICSkinDlg::kHueSlider: AdjustHue(out.data(), w, h, 3, 3, stride, strength, 0); break;
    case CPICSkinDlg::kContrastSlider: AdjustContrast(out.data(), w, h, 3, 3, stride, strength, 0); break;
    case CPICSkinDlg::kSaturationSlider: AdjustSaturation(out.data(), w, h, 3, 3, stride, strength, 0); break;
    default: break;
  }
  return out;
}

std::vector<std::uint8_t> PictureBrowserTest::smoothed(const std::vector<std::uint8_t>& rows, bool median) {
  const CDibLock picture(CPICSkinDlg::GetCurrentPicture());
  std::vector<std::uint8_t> out(rows.size());
  const int w = picture.GetWidth(), h = picture.GetHeight(), stride = picture.GetStride();
  if (median) MedianSmooth(rows.data(), 3, 3, w, h, stride, out.data());
  else GaussSmooth(rows.data(), 3, 3, w, h, stride, out.data());
  return out;
}

bool PictureBrowserTest::buttonEnabled(const char* name) { return browser->IsButtonUsable(name); }

std::string PictureBrowserTest::labelText(const char* name) {
  const CSkinLabel* label = browser->FindLabel(name);
  return label ? std::string(label->GetText()) : "<none>";
}

COLORREF PictureBrowserTest::areaPixel(int x, int y) {
  HWND area = browser->GetPictureArea()->GetSafeHwnd();
  POINT at{x, y};
  MapWindowPoints(area, browser->GetSafeHwnd(), &at, 1);
  CRect window;
  browser->GetWindowRect(&window);
  POINT origin{0, 0};
  ClientToScreen(browser->GetSafeHwnd(), &origin);
  return plat::Screenshot::windowPixel(browser->GetSafeHwnd(), at.x + origin.x - window.left,
                                       at.y + origin.y - window.top);
}

std::vector<std::string> PictureBrowserTest::temporaryFiles() {
  std::vector<std::string> names;
  for (int i = 0; i < 6; ++i)
    if (std::filesystem::exists(programFile(std::to_string(i) + ".bmp"))) names.push_back(std::to_string(i) + ".bmp");
  return names;
}

}  // namespace test
