// What goes wrong around the picture browser: saves that fail, pictures that are not what
// they claim, undo files that vanish, a skin that names its list twice.
#include "windows/media/PictureBrowserTest.h"

#include "core/MediaListFile.h"
#include "skin/CSkinButtonEx.h"
#include "skin/CSkinSlider.h"
#include "windows/main/CMainDlg.h"
#include "windows/media/CThumbnailListWnd.h"

#include <support/FileSizeLimit.h>
#include <vendor/language/Language.h>

#include <fstream>

namespace test {
namespace {

using Browser = CPICSkinDlg;

std::vector<char> Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PictureBrowserFaults : public PictureBrowserTest {};

TEST_F(PictureBrowserFaults, ASaveThatFailsKeepsTheOldFileAndSaysSo) {
  const auto good = putPicture("good.bmp", TestPicture::ramps(200, 150, 1));
  const auto target = putPicture("target.bmp", TestPicture::solid(20, 20, 1, 2, 3));
  writeHistory({good});
  openBrowser();
  openItem(0);
  setSlider(Browser::kLightnessSlider, 70);
  const auto before = Bytes(linuxOf(target));

  robot.answerNextFileDialog(target);
  robot.answerNextMessageBox(IDYES);  // saving over it
  {
    const FileSizeLimit disk(4096);
    press("SAVE_BUTTON");
  }
  const auto boxes = robot.messageBoxes();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back().text, GetMessageInfo(1));
  EXPECT_EQ(boxes.back().caption, GetMessageInfo(3));
  EXPECT_EQ(Bytes(linuxOf(target)), before);
  EXPECT_EQ(browser->GetThumbnailList()->GetItemCount(), 1);
  EXPECT_EQ(historyPaths(), (std::vector<std::string>{good}));
}

TEST_F(PictureBrowserFaults, AChangeWhoseUndoFileCannotBeWrittenStaysWithoutAWayBack) {
  const auto good = putPicture("good.bmp", TestPicture::ramps(200, 150, 1));
  writeHistory({good});
  openBrowser();
  openItem(0);
  const auto original = pictureBytes();
  {
    const FileSizeLimit disk(4096);
    setSlider(Browser::kLightnessSlider, 70);
  }
  EXPECT_NE(pictureBytes(), original);
  EXPECT_EQ(browser->GetUndo().GetCount(), 0);
  EXPECT_FALSE(buttonEnabled("RETURNOP_BUTTON"));
}

TEST_F(PictureBrowserFaults, PicturesThatCannotBeReadLeaveNoPictureAndNothingToChange) {
  const auto good = putPicture("good.bmp", TestPicture::ramps(64, 48, 1));
  const auto palette = putBytes("palette.bmp", PaletteBmpBytes(TestPicture::ramps(64, 48, 2)));
  const auto jpeg = putBytes("photo.jpg", JpegBytes(TestPicture::ramps(64, 48, 3)));
  const auto later = putPicture("later.bmp", TestPicture::ramps(64, 48, 4));
  writeHistory({good, palette, jpeg, later});
  openBrowser();
  ASSERT_EQ(browser->GetThumbnailList()->GetItemCount(), 4);
  // Cut short after the thumbnails were made, and then emptied.
  auto bytes = BmpBytes(TestPicture::ramps(64, 48, 4));
  bytes.resize(bytes.size() / 2);
  WriteBytes(linuxOf(later), bytes);

  for (int index : {1, 2, 3}) {
    openItem(0);
    ASSERT_NE(Browser::GetCurrentPicture(), nullptr);
    openItem(index);
    EXPECT_EQ(Browser::GetCurrentPicture(), nullptr) << index;
    EXPECT_EQ(areaPixel(10, 10), RGB(0, 0, 0)) << index;
    setSlider(Browser::kLightnessSlider, 50);
    press("PINGHUA_BUTTON");
    press("XIAOCHU_BUTTON");
    robot.click(browser->GetRadioButton()->GetSafeHwnd());
    robot.pumpUntilIdle();
    EXPECT_FALSE(browser->IsHistogramShown()) << index;
    EXPECT_TRUE(temporaryFiles().empty()) << index;
  }
  const auto dialogs = robot.fileDialogs().size();
  press("SAVE_BUTTON");
  EXPECT_EQ(robot.fileDialogs().size(), dialogs);

  WriteBytes(linuxOf(later), {});
  openItem(3);
  EXPECT_EQ(Browser::GetCurrentPicture(), nullptr);
}

TEST_F(PictureBrowserFaults, AnUndoFileThatVanishedLeavesThePictureShown) {
  const auto good = putPicture("good.bmp", TestPicture::ramps(64, 48, 1));
  writeHistory({good});
  openBrowser();
  openItem(0);
  setSlider(Browser::kLightnessSlider, 20);
  setSlider(Browser::kLightnessSlider, 20);
  const auto shown = pictureBytes();
  for (const auto& name : temporaryFiles()) std::filesystem::remove(programFile(name));
  press("RETURNOP_BUTTON");
  ASSERT_NE(Browser::GetCurrentPicture(), nullptr);
  EXPECT_EQ(pictureBytes(), shown);
}

TEST_F(PictureBrowserFaults, ASkinNamingTheListTwiceStillMakesOneListAndTheRest) {
  const auto skin = programFile("Skin\\Pic\\skin.ini");
  std::ofstream(skin, std::ios::app) << "\n[Pic-ListCtrl]\n2=307,92,1006,200\n";
  const auto good = putPicture("good.bmp", TestPicture::ramps(64, 48, 1));
  writeHistory({good});
  openBrowser();
  ASSERT_NE(browser->GetThumbnailList(), nullptr);
  EXPECT_EQ(browser->GetThumbnailList()->GetItemCount(), 1);
  EXPECT_NE(browser->GetSlider(Browser::kSaturationSlider), nullptr);
  EXPECT_NE(browser->GetPictureArea(), nullptr);
}

TEST_F(PictureBrowserFaults, AFileAddedThroughTheViewGoesToTheTop) {
  const auto good = putPicture("good.bmp", TestPicture::ramps(64, 48, 1));
  const auto added = putPicture("added.bmp", TestPicture::ramps(64, 48, 2));
  writeHistory({good});
  openBrowser();
  robot.answerNextFileDialog(added);
  robot.duringModal([](plat::Robot& r) { EXPECT_TRUE(r.chooseMenuCommand(CImageListView::ID_LIST_ADD_FILE)); });
  robot.rightClick(itemOnScreen(0));
  robot.pumpUntilIdle();
  ASSERT_EQ(browser->GetThumbnailList()->GetItemCount(), 2);
  EXPECT_EQ(std::string(view().GetItem(0)->GetImagePath()), added);
  const auto dialogs = robot.fileDialogs();
  ASSERT_FALSE(dialogs.empty());
  EXPECT_FALSE(dialogs.back().save);
  EXPECT_EQ(dialogs.back().types.size(), 7u);
}

}  // namespace
}  // namespace test
