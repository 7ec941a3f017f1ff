// The image list view as a user meets it in a thumbnail list: thumbnails drawn to shape,
// new items first, selection by click and by call, the context menu and the messages its
// commands send, deletion only after the user said OK and only of a file no other item
// names, the hover tip, and the bookkeeping of image indexes as items come and go.
#include "windows/media/ThumbnailListTest.h"

#include "windows/media/MediaFileKinds.h"

#include <com/globalmem.h>
#include <robot/Screenshot.h>
#include <vendor/language/Language.h>
#include <win32/gdi/imagelist.h>

#include <cstring>

namespace {

using test::TestPicture;
using View = CImageListView;

class ImageListViewTest : public test::ThumbnailListTest {
 protected:
  // Three pictures added to the top in turn: c, b, a from the first item on.
  void addThree() {
    makeList();
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
      ASSERT_TRUE(list->AddMediaFile(putPicture(name, TestPicture::ramps(40, 30)).c_str(), FALSE, TRUE)) << name;
  }
  // Opens the context menu on an item (or empty space) and chooses a command.
  void choose(POINT where, UINT command) {
    robot.duringModal([command](plat::Robot& r) { EXPECT_TRUE(r.chooseMenuCommand(command)); });
    robot.rightClick(where);
    robot.pumpUntilIdle();
  }
  // The first item selected and deleted through the menu, the question answered so.
  void deleteFirst(int answer) {
    view().SelectItem(0, FALSE);
    robot.answerNextMessageBox(answer);
    choose(itemOnScreen(0), View::ID_LIST_DELETE);
  }
  // The texts and grey states of the menu the right click at `where` opens.
  void readMenu(POINT where, std::vector<std::string>& texts, std::vector<UINT>& states) {
    texts.clear();
    states.clear();
    robot.duringModal([&](plat::Robot&) {
      HMENU popup = reinterpret_cast<HMENU>(SendMessageA(robot.openMenu(), MN_GETHMENU, 0, 0));
      for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        char text[64] = {};
        GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        texts.emplace_back(text);
        states.push_back(GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED);
      }
    });
    robot.rightClick(where);
    robot.pumpUntilIdle();
  }
  POINT emptySpace() {
    CRect client;
    view().GetClientRect(&client);
    POINT corner{client.right - 5, client.bottom - 5};
    ClientToScreen(view().GetSafeHwnd(), &corner);
    return corner;
  }
};

TEST_F(ImageListViewTest, TheExtensionDecidesThePictureFormat) {
  EXPECT_EQ(GetImageFormatFromExtension("C:\\photo.WBMP"), 1u);
  EXPECT_EQ(GetImageFormatFromExtension("C:\\scan.TIFF"), 6u);
  EXPECT_EQ(GetImageFormatFromExtension("C:\\scan.tif"), 6u);
  EXPECT_EQ(GetImageFormatFromExtension("C:\\a.jpeg"), 3u);
  EXPECT_EQ(GetImageFormatFromExtension("C:\\a.Jpg"), 3u);
  EXPECT_EQ(GetImageFormatFromExtension("C:\\a.png"), 4u);
  EXPECT_EQ(GetImageFormatFromExtension("C:\\a.ppm"), 14u);
  EXPECT_EQ(GetImageFormatFromExtension("C:\\a.ras"), 15u);
  EXPECT_EQ(GetImageFormatFromExtension("C:\\notes.txt"), 0u);
  // No dot is needed, and a name shorter than an extension is read no further than it goes.
  EXPECT_EQ(GetImageFormatFromExtension("bmp"), 1u);
  EXPECT_EQ(GetImageFormatFromExtension("mp"), 0u);
  EXPECT_EQ(GetImageFormatFromExtension(""), 0u);
  EXPECT_EQ(GetImageFormatFromExtension(nullptr), 0u);
  EXPECT_TRUE(IsVideoFile("C:\\a.RMVB"));
  EXPECT_TRUE(IsVideoFile("C:\\a.mpg"));
  EXPECT_FALSE(IsVideoFile("C:\\movie"));
  EXPECT_FALSE(IsVideoFile("C:\\a.mpg.txt"));
  EXPECT_TRUE(CThumbnailListWnd::IsImageFile("C:\\b.mng"));
  EXPECT_FALSE(CThumbnailListWnd::IsImageFile("C:\\movie"));
}

TEST_F(ImageListViewTest, NewItemsComeFirstAndThumbnailsKeepTheirShape) {
  makeList();
  const std::string wide = putPicture("wide.bmp", TestPicture::solid(200, 100, 255, 0, 0));  // blue
  const std::string tall = putPicture("tall.png", TestPicture::solid(100, 200, 0, 0, 255));  // red
  ASSERT_TRUE(list->AddMediaFile(wide.c_str(), FALSE, TRUE));
  EXPECT_EQ(listedPaths(), std::vector<std::string>{wide});
  ASSERT_TRUE(list->AddMediaFile(tall.c_str(), FALSE, TRUE));
  EXPECT_EQ(listedPaths(), (std::vector<std::string>{tall, wide}));
  // Each item keeps the image it was drawn into.
  EXPECT_EQ(view().GetItem(0)->GetSecondIndex(), 1);
  EXPECT_EQ(view().GetItem(1)->GetSecondIndex(), 0);
  EXPECT_EQ(view().GetItem(0)->GetDisplayName(), "") << "thumbnails carry no caption";

  // The wide picture fills the square inside the grey frame.
  EXPECT_EQ(thumbPixel(0, 0, 30), RGB(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(thumbPixel(0, 1, 30), RGB(0, 0, 255));
  EXPECT_EQ(thumbPixel(0, 58, 1), RGB(0, 0, 255));
  // The tall one is 30 wide at x = 15 with white bars beside it.
  EXPECT_EQ(thumbPixel(1, 14, 30), RGB(255, 255, 255));
  EXPECT_EQ(thumbPixel(1, 15, 30), RGB(255, 0, 0));
  EXPECT_EQ(thumbPixel(1, 44, 30), RGB(255, 0, 0));
  EXPECT_EQ(thumbPixel(1, 45, 30), RGB(255, 255, 255));
  EXPECT_EQ(thumbPixel(1, 59, 59), RGB(0xC0, 0xC0, 0xC0));
}

TEST_F(ImageListViewTest, ClicksAndCallsSelectItems) {
  addThree();
  EXPECT_EQ(view().GetFirstSelected(), -1);
  robot.click(itemOnScreen(1));
  EXPECT_EQ(view().GetFirstSelected(), 1);
  ASSERT_EQ(received(View::UM_LIST_PLAY_STATE).size(), 1u);
  EXPECT_EQ(received(View::UM_LIST_PLAY_STATE)[0].wParam, 1u);
  robot.click(emptySpace());
  EXPECT_EQ(received(View::UM_LIST_PLAY_STATE).back().wParam, 0u);
  EXPECT_EQ(view().GetFirstSelected(), 1) << "the selection shows always";

  EXPECT_FALSE(view().SelectItem(3, FALSE));
  EXPECT_FALSE(view().SelectItem(-1, FALSE));
  EXPECT_TRUE(view().SelectItem(3, TRUE));
  EXPECT_EQ(view().GetFirstSelected(), 2);
  EXPECT_TRUE(view().SelectItem(-4, TRUE));
  EXPECT_EQ(view().GetFirstSelected(), 0);
  EXPECT_TRUE(view().IsItemSelected(0));
  view().DeselectItem(0);
  EXPECT_EQ(view().GetFirstSelected(), -1);
  EXPECT_EQ(view().HitTest(CPoint(-5, -5)), -1);
}

TEST_F(ImageListViewTest, DeleteAsksFirstAndCancelKeepsTheFile) {
  addThree();
  view().SetMenuMode(0);
  const std::string first = listedPaths()[0];
  deleteFirst(IDCANCEL);
  ASSERT_EQ(received(View::UM_LIST_ITEM_DELETED).size(), 1u);
  EXPECT_EQ(received(View::UM_LIST_ITEM_DELETED)[0].imagePath, first);
  ASSERT_FALSE(robot.messageBoxes().empty());
  EXPECT_EQ(robot.messageBoxes().back().text, GetMessageInfo(10));
  EXPECT_EQ(robot.messageBoxes().back().caption, GetMessageInfo(3));
  EXPECT_EQ(view().GetItemCount(), 3);
  EXPECT_TRUE(exists(first));

  deleteFirst(IDOK);
  EXPECT_EQ(view().GetItemCount(), 2);
  EXPECT_FALSE(exists(first));
}

TEST_F(ImageListViewTest, AFileListedTwiceLosesItsItemButStaysOnDisk) {
  addThree();
  view().SetMenuMode(0);
  const std::string twice = listedPaths()[2];
  ASSERT_TRUE(list->AddMediaFile(twice.c_str(), FALSE, TRUE));
  deleteFirst(IDOK);
  EXPECT_EQ(view().GetItemCount(), 3);
  EXPECT_TRUE(exists(twice));
}

TEST_F(ImageListViewTest, OnlyTheItemTheUserWasAskedAboutLosesItsFile) {
  addThree();
  view().SetMenuMode(0);
  const auto paths = listedPaths();
  view().SelectItem(0, FALSE);
  // While the question is up, the remote moves the selection to the last item.
  robot.duringModal([](plat::Robot& r) { EXPECT_TRUE(r.chooseMenuCommand(View::ID_LIST_DELETE)); });
  robot.duringModal([&](plat::Robot& r) {
    view().DeselectItem(0);
    view().SelectItem(2, FALSE);
    HWND box = FindWindowA("#32770", GetMessageInfo(3));
    ASSERT_NE(box, nullptr);
    r.click(GetDlgItem(box, IDOK));
  });
  robot.rightClick(itemOnScreen(0));
  robot.pumpUntilIdle();
  EXPECT_FALSE(exists(paths[0]));
  EXPECT_TRUE(exists(paths[2]));
  EXPECT_EQ(listedPaths(), (std::vector<std::string>{paths[1], paths[2]}));
}

TEST_F(ImageListViewTest, TheMenuFollowsTheModeAndTheSelection) {
  addThree();
  // Mode 4, the default: no menu at all.
  robot.rightClick(itemOnScreen(0));
  robot.pumpUntilIdle();
  EXPECT_EQ(robot.openMenu(), nullptr);

  view().SetMenuMode(0);
  view().DeselectItem(0);
  std::vector<std::string> texts;
  std::vector<UINT> states;
  readMenu(emptySpace(), texts, states);
  ASSERT_EQ(texts.size(), 8u);
  EXPECT_EQ(texts[0], GetMenuItem(1));
  EXPECT_EQ(texts[1], GetMenuItem(2));
  EXPECT_EQ(texts[7], GetMenuItem(6));
  // Nothing selected: play, delete and the last entry are greyed, the others are not.
  EXPECT_EQ(states, (std::vector<UINT>{MF_GRAYED, MF_GRAYED, 0, 0, 0, 0, 0, MF_GRAYED}));

  // The picture list has no play entry, however often its mode is set.
  view().SetMenuMode(1);
  list->SetMenuMode(1);
  list->SetMenuMode(-1);
  view().SelectItem(0, FALSE);
  readMenu(itemOnScreen(0), texts, states);
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_EQ(texts[0], GetMenuItem(2));
  EXPECT_EQ(states, (std::vector<UINT>{0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ImageListViewTest, MenuCommandsTellTheOwningWindow) {
  addThree();
  view().SetMenuMode(0);
  const auto paths = listedPaths();
  view().SelectItem(1, FALSE);
  choose(itemOnScreen(1), View::ID_LIST_PLAY);
  ASSERT_EQ(received(View::UM_LIST_PLAY_ITEM).size(), 1u);
  EXPECT_EQ(received(View::UM_LIST_PLAY_ITEM)[0].wParam, reinterpret_cast<WPARAM>(view().GetSafeHwnd()));
  EXPECT_EQ(received(View::UM_LIST_PLAY_ITEM)[0].imagePath, paths[1]);
  choose(itemOnScreen(1), View::ID_LIST_ADD_FILE);
  EXPECT_EQ(received(View::UM_LIST_ADD_FILE).size(), 1u);
  choose(itemOnScreen(1), View::ID_LIST_ADD_FOLDER);
  EXPECT_EQ(received(View::UM_LIST_SET_FOLDER).size(), 1u);
  choose(itemOnScreen(1), View::ID_LIST_PROPERTIES);
  // Clearing empties the list and leaves every file where it was.
  choose(itemOnScreen(1), View::ID_LIST_CLEAR);
  ASSERT_EQ(received(View::UM_LIST_CLEARED).size(), 1u);
  EXPECT_EQ(view().GetItemCount(), 0);
  for (const std::string& path : paths) EXPECT_TRUE(exists(path)) << path;
  EXPECT_TRUE(received(View::UM_LIST_OPEN_ITEM).empty());
}

TEST_F(ImageListViewTest, DoubleClickOpensAnItemAndDropsOneWhoseFileIsGone) {
  addThree();
  const auto paths = listedPaths();
  robot.doubleClick(itemOnScreen(2));
  ASSERT_EQ(received(View::UM_OPEN_LIST_ITEM).size(), 1u);
  EXPECT_EQ(received(View::UM_OPEN_LIST_ITEM)[0].imagePath, paths[2]);
  EXPECT_EQ(received(View::UM_OPEN_LIST_ITEM)[0].listIndex, 2);

  // The press before the double click already drops an item whose file is gone; the
  // double click then opens what has come under the pointer.
  std::filesystem::remove(linuxOf(paths[1]));
  robot.doubleClick(itemOnScreen(1));
  EXPECT_EQ(listedPaths(), (std::vector<std::string>{paths[0], paths[2]}));
  ASSERT_EQ(received(View::UM_OPEN_LIST_ITEM).size(), 2u);
  EXPECT_EQ(received(View::UM_OPEN_LIST_ITEM)[1].imagePath, paths[2]);
  // A double click on empty space opens the selected item, or drops it when its file is gone.
  view().DeselectItem(1);
  view().SelectItem(0, FALSE);
  std::filesystem::remove(linuxOf(paths[0]));
  SendMessageA(view().GetSafeHwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(400, 280));
  EXPECT_EQ(received(View::UM_OPEN_LIST_ITEM).size(), 2u);
  EXPECT_EQ(listedPaths(), std::vector<std::string>{paths[2]});
}

TEST_F(ImageListViewTest, RemovingAnItemRenumbersTheImagesAfterIt) {
  makeList();
  std::vector<std::string> paths;
  for (int i = 0; i < 4; ++i) {
    paths.push_back(putPicture("p" + std::to_string(i) + ".bmp", TestPicture::solid(20, 20, 0, 0, static_cast<std::uint8_t>(60 * i))));
    ASSERT_TRUE(list->AddMediaFile(paths.back().c_str(), FALSE, FALSE));
  }
  ASSERT_TRUE(view().RemoveItem(1, FALSE));
  EXPECT_FALSE(view().RemoveItem(3, FALSE));
  EXPECT_EQ(listedPaths(), (std::vector<std::string>{paths[0], paths[2], paths[3]}));
  EXPECT_EQ(view().GetItem(0)->GetSecondIndex(), 0);
  EXPECT_EQ(view().GetItem(1)->GetSecondIndex(), 1);
  EXPECT_EQ(view().GetItem(2)->GetSecondIndex(), 2);
  EXPECT_EQ(thumbPixel(1, 30, 30), RGB(120, 0, 0));
  EXPECT_EQ(thumbPixel(2, 30, 30), RGB(180, 0, 0));
  EXPECT_TRUE(exists(paths[1])) << "removing is not deleting";
  EXPECT_TRUE(view().RemoveAllItems(FALSE));
  EXPECT_EQ(view().GetItemCount(), 0);
  for (const std::string& path : paths) EXPECT_TRUE(exists(path));
}

TEST_F(ImageListViewTest, MovesSwapsAndTheLoadOrderSort) {
  makeList();
  std::vector<std::string> paths;
  for (int i = 0; i < 4; ++i) {
    paths.push_back(putPicture("m" + std::to_string(i) + ".bmp", TestPicture::ramps(20, 20, i)));
    ASSERT_TRUE(list->AddMediaFile(paths.back().c_str(), FALSE, FALSE));
  }
  view().SelectItem(3, FALSE);
  EXPECT_TRUE(view().MoveItemUp(3, 2));
  EXPECT_EQ(listedPaths(), (std::vector<std::string>{paths[0], paths[3], paths[1], paths[2]}));
  EXPECT_EQ(view().GetFirstSelected(), 1) << "the selection moves with the item";
  // One step past the top moves as far as it can and fails.
  EXPECT_FALSE(view().MoveItemUp(2, 3));
  EXPECT_EQ(listedPaths(), (std::vector<std::string>{paths[1], paths[0], paths[3], paths[2]}));
  EXPECT_FALSE(view().MoveItemDown(0, 4));
  EXPECT_EQ(listedPaths().back(), paths[1]);
  // A file that vanished does not stop a swap.
  std::filesystem::remove(linuxOf(paths[0]));
  EXPECT_TRUE(view().SwapItems(0, 3));
  EXPECT_FALSE(view().SwapItems(0, 4));
  EXPECT_FALSE(view().UpdateItem(3, view().GetItem(0))) << "the item's file is gone";

  const std::vector<int> orders = {2, -1, 0, 1};
  for (int i = 0; i < 4; ++i) view().GetItem(i)->SetLoadOrder(orders[static_cast<std::size_t>(i)]);
  const auto before = listedPaths();
  EXPECT_EQ(view().SortByLoadOrder(), 1);
  EXPECT_EQ(listedPaths(), (std::vector<std::string>{before[2], before[3], before[0], before[1]}));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(view().GetItem(i)->GetLoadOrder(), -1);
}

TEST_F(ImageListViewTest, AHoverTipShowsOverAnItemAndGoesWhenThePointerLeaves) {
  addThree();
  HWND tip = FindWindowA(nullptr, "COOL_TIP_CTRL_WINDOW");
  ASSERT_NE(tip, nullptr);
  clearReceived();
  robot.moveTo(itemOnScreen(1));
  ASSERT_FALSE(received(WM_MOUSEMOVE).empty()) << "moves are copied to the owner";
  robot.advance(3000);
  EXPECT_TRUE(IsWindowVisible(tip));
  robot.moveTo(POINT{5, 5});
  SendMessageA(view().GetSafeHwnd(), WM_TIMER, View::kHoverTimer, 0);
  robot.advance(3000);
  EXPECT_FALSE(IsWindowVisible(tip));

  list->EnableHoverTips(FALSE);
  robot.moveTo(itemOnScreen(0));
  robot.advance(3000);
  EXPECT_FALSE(IsWindowVisible(tip));
}

// The tip carries the picture of the item under the pointer, and follows it to another.
TEST_F(ImageListViewTest, TheTipShowsThePictureOfTheItemUnderThePointer) {
  makeList();
  ASSERT_TRUE(list->AddMediaFile(putPicture("blue.bmp", TestPicture::solid(40, 30, 220, 40, 30)).c_str(), FALSE, TRUE));
  ASSERT_TRUE(list->AddMediaFile(putPicture("green.bmp", TestPicture::solid(40, 30, 30, 200, 40)).c_str(), FALSE, TRUE));
  HWND tip = FindWindowA(nullptr, "COOL_TIP_CTRL_WINDOW");
  ASSERT_NE(tip, nullptr);
  // The picture fills the tip below its lines of text.
  auto tipPicture = [&] {
    robot.pumpUntilIdle();
    CRect client;
    GetClientRect(tip, &client);
    return plat::Screenshot::windowPixel(tip, client.Width() / 2, client.Height() - 20);
  };
  robot.moveTo(itemOnScreen(0));
  robot.advance(3000);
  ASSERT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(tipPicture(), RGB(40, 200, 30));
  robot.moveTo(itemOnScreen(1));
  robot.advance(3000);
  ASSERT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(tipPicture(), RGB(30, 40, 220));
}

TEST_F(ImageListViewTest, DroppedFilesGoToTheOwnerAndTheDropIsFreed) {
  addThree();
  HDROP seen = nullptr;
  ASSERT_TRUE(robot.dropFiles({"C:\\Pictures\\x.jpg"}, itemOnScreen(0)));
  ASSERT_EQ(received(View::UM_LIST_DROP_FILES).size(), 1u);
  seen = reinterpret_cast<HDROP>(received(View::UM_LIST_DROP_FILES)[0].wParam);
  EXPECT_EQ(GlobalSize(seen), 0u) << "the view let the drop go";
}

TEST_F(ImageListViewTest, PicturesThatCannotBeReadAreNotAdded) {
  makeList();
  auto jpeg = test::JpegBytes(TestPicture::ramps(120, 90));
  jpeg.resize(jpeg.size() / 2);
  EXPECT_FALSE(list->AddMediaFile(putBytes("half.jpg", jpeg).c_str(), FALSE, TRUE));
  EXPECT_FALSE(list->AddMediaFile(putBytes("text.png", {'h', 'i'}).c_str(), FALSE, TRUE));
  auto png = test::PngBytes(TestPicture::ramps(120, 90));
  png.resize(png.size() - 20);
  EXPECT_FALSE(list->AddMediaFile(putBytes("cut.png", png).c_str(), FALSE, TRUE));
  auto bmp = test::BmpBytes(TestPicture::ramps(120, 90));
  bmp.resize(bmp.size() - 3 * 120);
  EXPECT_FALSE(list->AddMediaFile(putBytes("cut.bmp", bmp).c_str(), FALSE, TRUE));
  // A header claiming a picture far larger than its file, and than any screen.
  bmp = test::BmpBytes(TestPicture::ramps(4, 4));
  const std::int32_t huge = 1 << 20;
  std::memcpy(&bmp[18], &huge, 4);
  std::memcpy(&bmp[22], &huge, 4);
  EXPECT_FALSE(list->AddMediaFile(putBytes("huge.bmp", bmp).c_str(), FALSE, TRUE));
  EXPECT_FALSE(list->AddMediaFile(putBytes("empty.bmp", {}).c_str(), FALSE, FALSE));
  EXPECT_FALSE(list->AddMediaFile(putBytes("notes.txt", {'h', 'i'}).c_str(), FALSE, FALSE));
  EXPECT_FALSE(list->AddMediaFile("C:\\Pictures\\missing.bmp", FALSE, FALSE));
  EXPECT_EQ(view().GetItemCount(), 0);
  EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(
                SendMessageA(view().GetSafeHwnd(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0))),
            0);
  ASSERT_TRUE(list->AddMediaFile(putJpeg("good.jpg", 120, 90).c_str(), FALSE, TRUE));
  EXPECT_EQ(view().GetItem(0)->GetSecondIndex(), 0);
}

}  // namespace
