// The thumbnail list window: files and folders turned into items, videos shown by their
// first picture, media list files loaded in their own order and saved byte for byte,
// files that cannot be read kept out (and their records skipped, not the rest of the
// list), and the remote's previous and next keys moving the selection round the list.
#include "windows/media/ThumbnailListTest.h"

#include "core/MediaListFile.h"
#include "platform/dshow/MediaFileWriter.h"

#include <robot/Screenshot.h>

#include <cstring>
#include <fstream>
#include <optional>

namespace {

using test::TestPicture;
using Bytes = std::vector<std::uint8_t>;

class ThumbnailListWndTest : public test::ThumbnailListTest {
 protected:
  // A media list file of (kind, path) records, the count given or the records'.
  std::string putList(const std::string& name, const std::vector<std::pair<DWORD, std::string>>& records,
                      std::optional<std::int32_t> count = std::nullopt) {
    Bytes bytes(4 + records.size() * 264, 0);
    const std::int32_t n = count ? *count : static_cast<std::int32_t>(records.size());
    std::memcpy(bytes.data(), &n, 4);
    for (std::size_t i = 0; i < records.size(); ++i) {
      std::memcpy(&bytes[4 + i * 264], &records[i].first, 4);
      std::memcpy(&bytes[8 + i * 264], records[i].second.data(), std::min<std::size_t>(records[i].second.size(), 260));
    }
    return putBytes(name, bytes);
  }
  Bytes readAll(const std::string& windowsPath) {
    std::ifstream in(linuxOf(windowsPath), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

TEST_F(ThumbnailListWndTest, CreatesItsViewOverTheWholeClientArea) {
  makeList();
  ASSERT_NE(list->GetListHwnd(), nullptr);
  EXPECT_EQ(GetDlgCtrlID(list->GetListHwnd()), 2048);
  CRect outer, inner;
  list->GetClientRect(&outer);
  view().GetClientRect(&inner);
  EXPECT_EQ(inner.Width(), outer.Width());
  EXPECT_EQ(view().GetBkColor(), kBackground);
  EXPECT_EQ(list->GetItemCount(), 0);
  EXPECT_EQ(list->GetFirstSelected(), -1);
  list->SetMargins(1, 2, 3, 4);
  RECT margins{};
  list->GetMargins(margins);
  EXPECT_EQ(margins.bottom, 4);
  list->MoveList(0, 10, 200, 110);
  view().GetClientRect(&inner);
  EXPECT_EQ(inner.Height(), 100);

  CThumbnailListWnd unmade;
  EXPECT_EQ(unmade.GetItemCount(), -1);
  EXPECT_FALSE(unmade.SelectItem(0));
  EXPECT_FALSE(unmade.AddMediaFile(putJpeg("x.jpg", 8, 8).c_str(), FALSE, TRUE));
  EXPECT_FALSE(unmade.LoadListFile("C:\\none.lis"));
}

TEST_F(ThumbnailListWndTest, AddsTheFolderFilesItCanShow) {
  makeList();
  putJpeg("a.JPG", 64, 48);
  putBytes("b.mng", {'M', 'N', 'G'});
  putBytes("c.txt", {'t'});
  std::filesystem::create_directories(linuxOf(onC("Pictures\\inner")));
  putJpeg("inner\\d.jpg", 64, 48);
  EXPECT_EQ(list->AddFolder("C:\\Pictures", FALSE, TRUE), 1);
  EXPECT_EQ(listedPaths(), std::vector<std::string>{"C:\\Pictures\\a.JPG"});
  EXPECT_EQ(list->AddFolder(nullptr, FALSE, TRUE), 0);
  EXPECT_EQ(list->AddFolder("C:\\Nowhere\\", FALSE, TRUE), 0);

  putVideo("one.mpg");
  putVideo("two.avi");
  EXPECT_EQ(list->AddFolder("C:\\Videos\\", TRUE, FALSE), 2);
  EXPECT_EQ(list->GetItemCount(), 3);
  EXPECT_TRUE(list->AddFileIfKnownType(putJpeg("e.jpeg", 40, 30).c_str(), TRUE));
  EXPECT_FALSE(list->AddFileIfKnownType("C:\\Pictures\\c.txt", TRUE));
  EXPECT_FALSE(list->AddFileIfKnownType("", TRUE));
  EXPECT_EQ(listedPaths().back(), "C:\\Pictures\\e.jpeg");
}

TEST_F(ThumbnailListWndTest, VideosShowTheirFirstPictureWhileTheyAreListed) {
  makeList();
  const std::string clip = putVideo("red.mpg", 176, 144);
  EXPECT_FALSE(list->AddMediaFile("C:\\Pictures\\movie", TRUE, TRUE)) << "no extension, no video";
  ASSERT_TRUE(list->AddMediaFile(clip.c_str(), TRUE, TRUE));
  const CMediaFileItem* item = view().GetItem(0);
  EXPECT_TRUE(item->IsVideo());
  EXPECT_EQ(std::string(item->GetVideoPath()), clip);
  const std::string thumbnail(item->GetImagePath());
  EXPECT_NE(thumbnail.find("red_tmp.bmp"), std::string::npos);
  EXPECT_TRUE(exists(thumbnail));
  // The clip is red; its thumbnail is too, inside the frame.
  const COLORREF middle = thumbPixel(0, 30, 30);
  EXPECT_GT(GetRValue(middle), 200);
  EXPECT_LT(GetGValue(middle), 60);

  const std::string avi = putVideo("odd.avi", 81, 61);
  ASSERT_TRUE(list->AddMediaFile(avi.c_str(), TRUE, FALSE));
  EXPECT_EQ(thumbnailFiles().size(), 2u);
  ASSERT_TRUE(view().RemoveItem(0, FALSE));
  EXPECT_FALSE(exists(thumbnail)) << "the thumbnail goes with its item";
  EXPECT_TRUE(exists(clip));
  list.reset();
  EXPECT_TRUE(thumbnailFiles().empty()) << "and with the window";
}

// A video history: each clip listed shows its own first picture, not a later one; a clip
// that is gone is skipped and the rest keep the file's order.
TEST_F(ThumbnailListWndTest, AVideoListShowsEachClipByItsFirstPicture) {
  makeList();
  constexpr dstest::MediaFileWriter::Colour kBlue = {41, 240, 110}, kGreen = {145, 54, 34};
  const std::string slides = onC("Videos\\slides.avi");
  std::filesystem::create_directories(linuxOf(onC("Videos")));
  ASSERT_TRUE(dstest::MediaFileWriter::writeSlides(linuxOf(slides), 1, {kBlue, kGreen}, 64, 48));
  const std::string gone = putVideo("gone.mpg");
  const std::string red = putVideo("red.mpg");
  std::filesystem::remove(linuxOf(gone));
  const std::string lis = putList("histroyMedia.lis", {{1, slides}, {1, gone}, {1, red}});
  ASSERT_TRUE(list->LoadListFile(lis.c_str()));
  ASSERT_EQ(listedPaths(), (std::vector<std::string>{slides, red}));
  EXPECT_EQ(thumbnailFiles().size(), 2u);
  const COLORREF first = thumbPixel(view().GetItem(0)->GetSecondIndex(), 30, 30);
  EXPECT_GT(GetBValue(first), 200) << "blue, the slides' first picture";
  EXPECT_LT(GetGValue(first), 60);
  const COLORREF second = thumbPixel(view().GetItem(1)->GetSecondIndex(), 30, 30);
  EXPECT_GT(GetRValue(second), 200);
  EXPECT_LT(GetBValue(second), 60);
  // Written back as videos, the list holds what it shows.
  ASSERT_TRUE(list->SaveListFile(lis.c_str(), TRUE));
  const Bytes bytes = readAll(lis);
  ASSERT_EQ(bytes.size(), 4u + 2 * 264);
  EXPECT_EQ(test::intAt(bytes, 0), 2);
  EXPECT_EQ(test::intAt(bytes, 4), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[8])), slides);
}

TEST_F(ThumbnailListWndTest, MediaThatCannotBeReadIsKeptOutWithoutAThumbnail) {
  makeList();
  const std::string fake = putBytes("fake.avi", Bytes(4000, 0x41));
  std::filesystem::create_directories(linuxOf(onC("Videos")));
  EXPECT_FALSE(list->AddMediaFile(fake.c_str(), TRUE, TRUE));
  // Cut inside its first pack: no picture left to show.
  const std::string clip = putVideo("cut.mpg");
  std::filesystem::resize_file(linuxOf(clip), 40);
  EXPECT_FALSE(list->AddMediaFile(clip.c_str(), TRUE, FALSE));
  EXPECT_EQ(list->GetItemCount(), 0);
  EXPECT_TRUE(thumbnailFiles().empty());
}

TEST_F(ThumbnailListWndTest, SavesOneRecordAnItemOfTheKindAsked) {
  makeList();
  const std::string a = putVideo("a.mpg");
  const std::string b = putVideo("b.mpg");
  ASSERT_TRUE(list->AddMediaFile(a.c_str(), TRUE, FALSE));
  ASSERT_TRUE(list->AddMediaFile(b.c_str(), TRUE, FALSE));
  ASSERT_TRUE(list->SaveListFile("C:\\histroyMedia.lis", TRUE));
  const Bytes bytes = readAll("C:\\histroyMedia.lis");
  ASSERT_EQ(bytes.size(), 532u);
  EXPECT_EQ(test::intAt(bytes, 0), 2);
  EXPECT_EQ(test::intAt(bytes, 4), 1);
  EXPECT_EQ(test::textAt(bytes, 8, 260), a);
  EXPECT_EQ(test::textAt(bytes, 4 + 264 + 4, 260), b);
  EXPECT_EQ(bytes[8 + a.size()], 0);
  EXPECT_EQ(bytes[4 + 263], 0) << "the rest of the field is zero bytes";
  EXPECT_FALSE(list->SaveListFile(nullptr, TRUE));
}

TEST_F(ThumbnailListWndTest, PathsTooLongForARecordAreLeftOutAndTheCountAgrees) {
  makeList();
  std::string folder = "Pictures\\";
  while (folder.size() < 250) folder += "deep\\";
  std::filesystem::create_directories(linuxOf(onC(folder)));
  const std::string longName = onC(folder + "long_picture_name.bmp");
  test::WriteBytes(linuxOf(longName), test::BmpBytes(TestPicture::ramps(10, 10)));
  ASSERT_GT(longName.size(), 259u);
  ASSERT_TRUE(list->AddMediaFile(putPicture("short.bmp", TestPicture::ramps(10, 10)).c_str(), FALSE, FALSE));
  ASSERT_TRUE(list->AddMediaFile(longName.c_str(), FALSE, FALSE));
  ASSERT_TRUE(list->SaveListFile("C:\\histroyPicture.lis", FALSE));
  const Bytes bytes = readAll("C:\\histroyPicture.lis");
  ASSERT_EQ(bytes.size(), 4u + 264);
  EXPECT_EQ(test::intAt(bytes, 0), 1);
}

TEST_F(ThumbnailListWndTest, LoadsAListInItsOwnOrderSkippingWhatIsGoneOrUnreadable) {
  makeList();
  const std::string first = putPicture("1.bmp", TestPicture::ramps(16, 16, 1));
  const std::string gone = putPicture("2.bmp", TestPicture::ramps(16, 16, 2));
  auto jpeg = test::JpegBytes(TestPicture::ramps(64, 64));
  jpeg.resize(jpeg.size() / 3);
  const std::string broken = putBytes("3.jpg", jpeg);
  const std::string last = putPicture("4.png", TestPicture::ramps(16, 16, 4));
  std::filesystem::remove(linuxOf(gone));
  // Whatever the list held before goes, files staying where they are.
  const std::string before = putPicture("0.bmp", TestPicture::ramps(16, 16));
  ASSERT_TRUE(list->AddMediaFile(before.c_str(), FALSE, FALSE));
  const std::string lis = putList("histroyPicture.lis", {{0, first}, {0, gone}, {0, broken}, {0, last}});
  ASSERT_TRUE(list->LoadListFile(lis.c_str()));
  EXPECT_EQ(listedPaths(), (std::vector<std::string>{first, last}));
  EXPECT_TRUE(exists(before));
  // Saved and loaded again, the list is as it was.
  ASSERT_TRUE(list->SaveListFile(lis.c_str(), FALSE));
  ASSERT_TRUE(list->LoadListFile(lis.c_str()));
  EXPECT_EQ(listedPaths(), (std::vector<std::string>{first, last}));
}

TEST_F(ThumbnailListWndTest, CutAndDamagedListsLoadWhatTheyHoldAndNoMore) {
  makeList();
  const std::string a = putPicture("a.bmp", TestPicture::ramps(16, 16, 1));
  const std::string b = putPicture("b.bmp", TestPicture::ramps(16, 16, 2));
  // A count of three with two records: both load and the load reports the cut.
  EXPECT_FALSE(list->LoadListFile(putList("cut.lis", {{0, a}, {0, b}}, 3).c_str()));
  EXPECT_EQ(listedPaths(), (std::vector<std::string>{a, b}));
  // Exactly as many records as counted loads whole.
  EXPECT_TRUE(list->LoadListFile(putList("whole.lis", {{0, a}, {0, b}}, 2).c_str()));
  EXPECT_TRUE(list->LoadListFile(putList("fewer.lis", {{0, a}, {0, b}}, 1).c_str()));
  EXPECT_EQ(listedPaths(), std::vector<std::string>{a});
  // No count, a negative one, no file: nothing changes.
  EXPECT_FALSE(list->LoadListFile(putBytes("short.lis", {1, 0}).c_str()));
  EXPECT_FALSE(list->LoadListFile(putList("negative.lis", {{0, a}}, -1).c_str()));
  EXPECT_FALSE(list->LoadListFile("C:\\missing.lis"));
  EXPECT_EQ(listedPaths(), std::vector<std::string>{a});
  // A path field with no terminator is read to the end of its field only.
  Bytes raw(4 + 264 + 264, 'x');
  const std::int32_t two = 2;
  std::memcpy(raw.data(), &two, 4);
  std::memset(&raw[4], 0, 4);
  std::memset(&raw[4 + 264], 0, 4);
  std::memcpy(&raw[8 + 264], b.c_str(), b.size() + 1);
  EXPECT_TRUE(list->LoadListFile(putBytes("unterminated.lis", raw).c_str()));
  EXPECT_EQ(listedPaths(), std::vector<std::string>{b});
}

TEST_F(ThumbnailListWndTest, PreviousAndNextGoRoundTheList) {
  makeList();
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(list->AddMediaFile(putJpeg("n" + std::to_string(i) + ".jpg", 32, 24, i).c_str(), FALSE, FALSE));
  auto key = [&](int code) {
    SendMessageA(list->GetSafeHwnd(), CImageListView::UM_LIST_OPEN_ITEM, 0, code);
    return list->GetFirstSelected();
  };
  EXPECT_EQ(key(CThumbnailListWnd::kKeyNext), 0) << "nothing selected: the first";
  EXPECT_EQ(GetFocus(), list->GetListHwnd());
  view().SelectItem(2, FALSE);
  view().DeselectItem(0);
  EXPECT_EQ(key(CThumbnailListWnd::kKeyNext), 0) << "after the last, the first";
  view().DeselectItem(2);
  EXPECT_EQ(key(CThumbnailListWnd::kKeyPrevious), 2) << "before the first, the last";
  view().DeselectItem(0);
  EXPECT_EQ(key(CThumbnailListWnd::kKeyPrevious), 1);
  EXPECT_EQ(list->SelectItem(1), TRUE) << "an item already selected stays so";
  EXPECT_FALSE(list->SelectItem(-1));
  EXPECT_FALSE(list->SelectItem(3));
}

// Message 0x1011 has no sender in the program: its flag is recorded and nothing else changes.
TEST_F(ThumbnailListWndTest, TheFlagMessageIsOnlyRecorded) {
  makeList();
  ASSERT_TRUE(list->AddMediaFile(putJpeg("f.jpg", 32, 24).c_str(), FALSE, FALSE));
  list->SelectItem(0);
  EXPECT_EQ(list->GetThumbFlag(), 0u);
  SendMessageA(list->GetSafeHwnd(), 0x1011, 3, 0);
  EXPECT_EQ(list->GetThumbFlag(), 3u);
  SendMessageA(list->GetSafeHwnd(), 0x1011, 0, 0);
  EXPECT_EQ(list->GetThumbFlag(), 0u);
  EXPECT_EQ(list->GetItemCount(), 1);
  EXPECT_EQ(list->GetFirstSelected(), 0);
}

TEST_F(ThumbnailListWndTest, AListFullOfPicturesLooksLikeTheProduct) {
  makeList();
  list->SetMenuMode(1);
  for (int i = 0; i < 10; ++i) {
    const int w = i % 3 == 2 ? 48 : 96, h = i % 3 == 2 ? 96 : 64;
    ASSERT_TRUE(list->AddMediaFile(putJpeg("shot" + std::to_string(i) + ".jpg", w, h, i).c_str(), FALSE, FALSE));
  }
  ASSERT_TRUE(list->AddMediaFile(putVideo("clip.mpg").c_str(), TRUE, FALSE));
  view().SelectItem(4, FALSE);
  robot.pumpUntilIdle();
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "windows-screens";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(plat::Screenshot::saveWindow(host()->GetSafeHwnd(), folder / "ThumbnailList.png"));
  // The list's own colour shows between the thumbnails.
  EXPECT_EQ(plat::Screenshot::windowPixel(list->GetListHwnd(), 2, 2), kBackground);
}

}  // namespace
