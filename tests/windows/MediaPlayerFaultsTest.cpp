// The media player against what users and files bring: broken, cut and vanished clips, a
// cut history list, history paths at the length of their field, an empty list, deletes
// asked first and cancelled, deletes of other entries while one plays, a cleared list,
// dropped files, and a skin without its list.
#include "windows/MediaPlayerFixture.h"

#include "core/CDisplayMode.h"
#include "core/MediaListFile.h"
#include "windows/main/CAVDlg.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainDlg.h"

#include <cstring>
#include <fstream>
#include <random>

namespace {

using View = CImageListView;

class MediaPlayerFaults : public test::MediaPlayerTest {
 protected:
  std::string putBytes(const std::string& name, const test::Bytes& bytes) {
    const std::string path = "C:\\Videos\\" + name;
    writeBytes(path, bytes);
    return path;
  }
  std::string playing() {
    const CString path = g_pAppController->IsMediaFileOpen() && av().GetCurrentIndex() >= 0
                             ? view().GetItem(av().GetCurrentIndex())->GetVideoPath()
                             : CString();
    return std::string(path);
  }
  bool onDisk(const std::string& path) { return std::filesystem::exists(linuxOf(path)); }
};

TEST_F(MediaPlayerFaults, BrokenCutAndVanishedClipsNeverStopThePlayer) {
  const auto good = putClip("good.mpg", 4);
  const auto whole = readBytes(putClip("whole.mpg", 6));
  const auto cut = putBytes("cut.mpg", test::Bytes(whole.begin(), whole.begin() + whole.size() / 3));
  test::Bytes noise(4096);
  std::mt19937 random(7);
  for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
  const auto garbage = putBytes("noise.mpg", noise);
  const auto empty = putBytes("empty.avi", {});
  writeHistory({garbage, cut, empty, good});
  openPlayer();
  const auto shown = listed();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), garbage), 0) << "no picture, not shown";
  EXPECT_EQ(std::count(shown.begin(), shown.end(), empty), 0);
  ASSERT_EQ(shown.back(), good);

  for (int i = 0; i < view().GetItemCount(); ++i) {
    playEntry(i);
    robot.advance(2000);
    EXPECT_TRUE(runState() == 1 || runState() == 4) << shown[static_cast<std::size_t>(i)];
  }
  // A file that goes after it was listed plays nothing and leaves no file open.
  barCommand("STOP_MOVIE");
  const int last = view().GetItemCount() - 1;
  std::filesystem::remove(linuxOf(good));
  view().SelectItem(last, FALSE);
  remoteKey(21);
  EXPECT_EQ(runState(), 1);
  EXPECT_EQ(av().GetCurrentIndex(), -1);
  EXPECT_EQ(progress(), 0);

  // Nor is a broken file taken through the file dialog.
  robot.answerNextFileDialog(garbage);
  chooseFromMenu(0, View::ID_LIST_ADD_FILE);
  const auto after = listed();
  EXPECT_EQ(std::count(after.begin(), after.end(), garbage), 0);
}

TEST_F(MediaPlayerFaults, ACutHistoryShowsWhatItHoldsAndIsWrittenWholeOnTheWayBack) {
  const auto first = putClip("first.mpg", 1);
  const auto second = putClip("second.mpg", 1);
  writeHistory({first, second});
  test::Bytes bytes = readBytes(programPath(kMediaHistoryFile));
  bytes.resize(4 + 264 + 100);  // the second record cut in the middle
  writeBytes(programPath(kMediaHistoryFile), bytes);
  openPlayer();
  EXPECT_EQ(listed(), std::vector<std::string>{first});
  robot.key(VK_BACK);
  EXPECT_EQ(history(), std::vector<std::string>{first});
  EXPECT_EQ(readBytes(programPath(kMediaHistoryFile)).size(), 4u + 264u);
}

// A record's path field holds 260 bytes with the path's terminating zero: 259 characters
// at most. A path of 259 goes round whole; one of 260 would fill the field without its
// end and is not written, and a record that fills its field all the same is read no
// further than the field.
TEST_F(MediaPlayerFaults, HistoryPathsOfTheFieldsLengthGoRoundWholeAndLongerOnesAreLeftOut) {
  const auto pathOf = [](std::size_t length, char folder) {
    std::string path = "C:\\Videos\\";
    while (length - path.size() > 100) path += std::string(60, folder) + "\\";
    return path + std::string(length - path.size() - 4, 'c') + ".mpg";
  };
  const std::string fits = pathOf(259, 'd'), tooLong = pathOf(260, 'e');
  ASSERT_EQ(fits.size(), 259u);
  ASSERT_EQ(tooLong.size(), 260u);
  for (const std::string& path : {fits, tooLong}) {
    std::filesystem::create_directories(linuxOf(path).parent_path());
    putClipAt(path, 1);
  }
  const std::string other = putClip("other.mpg", 1);

  const std::string list = programPath(kMediaHistoryFile);
  EXPECT_TRUE(AppendMediaList(list.c_str(), fits.c_str(), kMediaListVideo));
  EXPECT_FALSE(AppendMediaList(list.c_str(), tooLong.c_str(), kMediaListVideo));
  EXPECT_TRUE(AppendMediaList(list.c_str(), other.c_str(), kMediaListVideo));
  ASSERT_EQ(history(), (std::vector<std::string>{fits, other}));
  EXPECT_EQ(readBytes(list).size(), 4u + 2 * 264);
  const std::string pictures = programPath(kPictureHistoryFile);
  EXPECT_TRUE(AppendMediaList(pictures.c_str(), fits.c_str(), kMediaListPicture));
  EXPECT_FALSE(AppendMediaList(pictures.c_str(), tooLong.c_str(), kMediaListPicture));
  EXPECT_EQ(readBytes(pictures).size(), 4u + 264);

  // A record from elsewhere whose path fills all 260 bytes, between the two.
  test::Bytes bytes = readBytes(list);
  test::Bytes full(264, 0);
  test::putInt(full, 0, 1);
  std::memcpy(full.data() + 4, tooLong.data(), 260);
  bytes.insert(bytes.begin() + 4 + 264, full.begin(), full.end());
  test::putInt(bytes, 0, 3);
  writeBytes(list, bytes);

  machine().ini().setValue("Windows", "Language", "1");  // the folder picker in English
  openPlayer();
  EXPECT_EQ(listed(), (std::vector<std::string>{fits, other}));
  playEntry(0);
  EXPECT_EQ(runState(), 4) << "the file of the longest path plays";
  // Added with its folder, the longer one is listed, but not written.
  addFolder(tooLong.substr(0, tooLong.rfind('\\')));
  ASSERT_EQ(listed(), (std::vector<std::string>{fits, other, tooLong}));
  robot.key(VK_BACK);
  EXPECT_EQ(history(), (std::vector<std::string>{fits, other}));
  const test::Bytes saved = readBytes(list);
  ASSERT_EQ(saved.size(), 4u + 2 * 264);
  EXPECT_EQ(saved[4 + 4 + 259], 0) << "the path's end fills the field's last byte";
}

TEST_F(MediaPlayerFaults, AnEmptyListHasNoNextNorPreviousAndNothingToPlay) {
  openPlayer();
  EXPECT_EQ(view().GetItemCount(), 0);
  robot.key(VK_DOWN);
  robot.key(VK_UP);
  for (int key : {68, 31, 21, 13, 23}) remoteKey(key);
  ctrlKey('P');
  robot.key(VK_RETURN);
  EXPECT_EQ(runState(), 1);
  EXPECT_EQ(av().GetMediaList().GetFirstSelected(), -1);
  robot.key(VK_BACK);
  EXPECT_EQ(readBytes(programPath(kMediaHistoryFile)), test::Bytes(4, 0)) << "an empty history is written too";
}

TEST_F(MediaPlayerFaults, WithoutItsListTheHistoryIsLeftAlone) {
  const auto first = putClip("first.mpg", 1);
  writeHistory({first});
  const auto skin = programFile("Skin\\AV\\skin.ini");
  std::string text;
  {
    std::ifstream in(skin);
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  text = text.substr(0, text.find("[AV-ListBox]"));
  writeIni("Skin\\AV\\skin.ini", text);
  openPlayer();
  EXPECT_EQ(av().GetMediaList().GetSafeHwnd(), nullptr);
  robot.key(VK_DOWN);
  remoteKey(21);
  robot.key(VK_BACK);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
  EXPECT_EQ(history(), std::vector<std::string>{first});
}

TEST_F(MediaPlayerFaults, ADeleteIsAskedFirstAndSparesAFileAnotherEntryNames) {
  const auto a = putClip("a.mpg", 20);
  const auto b = putClip("b.mpg", 20);
  writeHistory({a, b, b});
  openPlayer();
  ASSERT_EQ(listed(), (std::vector<std::string>{a, b, b}));
  playEntry(0);
  ASSERT_EQ(playing(), a);

  robot.answerNextMessageBox(IDCANCEL);
  chooseFromMenu(0, View::ID_LIST_DELETE);
  EXPECT_TRUE(onDisk(a));
  EXPECT_EQ(listed().size(), 3u);
  EXPECT_EQ(runState(), 1) << "the file was let go before the question, so it could be deleted";
  EXPECT_EQ(av().GetCurrentIndex(), -1);
  EXPECT_EQ(progress(), 0);

  playEntry(0);
  robot.answerNextMessageBox(IDOK);
  chooseFromMenu(0, View::ID_LIST_DELETE);
  EXPECT_FALSE(onDisk(a));
  EXPECT_EQ(listed(), (std::vector<std::string>{b, b}));

  robot.answerNextMessageBox(IDOK);
  chooseFromMenu(1, View::ID_LIST_DELETE);
  EXPECT_TRUE(onDisk(b)) << "the other entry still names it";
  EXPECT_EQ(listed(), std::vector<std::string>{b});
  const auto boxes = robot.messageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
}

TEST_F(MediaPlayerFaults, DeletingAnotherEntryLeavesTheFileThatPlays) {
  const auto a = putClip("a.mpg", 20);
  const auto b = putClip("b.mpg", 20);
  const auto c = putClip("c.mpg", 20);
  writeHistory({a, b, c});
  openPlayer();
  playEntry(2);
  ASSERT_TRUE(advanceUntil([&] { return position() >= 1.0; }));
  robot.answerNextMessageBox(IDOK);
  chooseFromMenu(0, View::ID_LIST_DELETE);
  EXPECT_EQ(listed(), (std::vector<std::string>{b, c}));
  EXPECT_TRUE(g_pAppController->IsMediaRunning()) << "c plays on";

  // Its entry moved up one; Enter on it does not start it again.
  view().SelectItem(1, FALSE);
  const double before = position();
  av().SetFocus();
  robot.key(VK_RETURN);
  EXPECT_GE(position(), before);

  robot.answerNextMessageBox(IDOK);
  chooseFromMenu(1, View::ID_LIST_DELETE);
  EXPECT_EQ(runState(), 1) << "its own delete lets it go";
  EXPECT_FALSE(onDisk(c));
  EXPECT_TRUE(onDisk(b));
}

TEST_F(MediaPlayerFaults, ClearingTheListStopsTheFileAndDeletesNothing) {
  const auto a = putClip("a.mpg", 20);
  writeHistory({a});
  openPlayer();
  playEntry(0);
  ASSERT_EQ(runState(), 4);
  chooseFromMenu(0, View::ID_LIST_CLEAR);
  EXPECT_EQ(view().GetItemCount(), 0);
  EXPECT_EQ(runState(), 1);
  EXPECT_TRUE(onDisk(a));
}

TEST_F(MediaPlayerFaults, FilesDroppedOnTheListAreNotTaken) {
  const auto a = putClip("a.mpg", 1);
  const auto dropped = putClip("dropped.mpg", 1);
  writeHistory({a});
  openPlayer();
  EXPECT_TRUE(robot.dropFiles({dropped}, itemOnScreen(0)));
  robot.pumpUntilIdle();
  EXPECT_EQ(listed(), std::vector<std::string>{a});
}

}  // namespace
