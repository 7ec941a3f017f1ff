// The media history lists against hand-built ".lis" files: appends byte for byte, loads
// into items and saves back the same bytes; bad files refused with nothing lost, and a
// failed save leaving the old list.
#include "CoreTest.h"

#include "core/CMediaFileItem.h"
#include "core/MediaListFile.h"
#include "support/FileSizeLimit.h"

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

using test::Bytes;

constexpr std::size_t kRecord = 264;

// A list file of the given (kind, path) records, with `count` as its header.
Bytes ListBytes(std::int32_t count, const std::vector<std::pair<std::uint32_t, std::string>>& records) {
  Bytes bytes(4 + records.size() * kRecord, 0);
  test::putInt(bytes, 0, count);
  for (std::size_t n = 0; n < records.size(); ++n) {
    test::putInt(bytes, 4 + n * kRecord, static_cast<std::int32_t>(records[n].first));
    test::putText(bytes, 8 + n * kRecord, records[n].second);
  }
  return bytes;
}

class MediaListFileTest : public test::CoreTest {
 protected:
  void SetUp() override { std::filesystem::create_directories(linuxPath("C:\\Videos")); }
  void TearDown() override { clear(); }
  void makeFile(const std::string& path) { std::ofstream(linuxPath(path)) << "x"; }
  void clear() {
    for (int n = 0; n < items.GetSize(); ++n) delete static_cast<CMediaFileItem*>(items.GetAt(n));
    items.RemoveAll();
  }
  CMediaFileItem* item(int n) { return static_cast<CMediaFileItem*>(items.GetAt(n)); }

  const std::string list = "C:\\Videos\\histroyMedia.lis";
  CPtrArray items;
};

TEST_F(MediaListFileTest, AppendingToAMissingListWritesOneRecord) {
  makeFile("C:\\Videos\\cap00.mpg");
  ASSERT_TRUE(AppendMediaList(list.c_str(), "C:\\Videos\\cap00.mpg", kMediaListVideo));
  EXPECT_EQ(readBytes(list), ListBytes(1, {{1, "C:\\Videos\\cap00.mpg"}}));
  EXPECT_EQ(readBytes(list).size(), 268u);
}

TEST_F(MediaListFileTest, AppendingAddsAtTheNextSlotAndKeepsTheRest) {
  makeFile("C:\\Videos\\still.bmp");
  const Bytes before = ListBytes(2, {{1, "C:\\a.mpg"}, {0, "C:\\b.bmp"}});
  writeBytes(list, before);
  ASSERT_TRUE(AppendMediaList(list.c_str(), "C:\\Videos\\still.bmp", kMediaListPicture));
  ASSERT_TRUE(AppendMediaList(list.c_str(), "C:\\Videos\\still.bmp", kMediaListPicture)) << "twice is allowed";
  EXPECT_EQ(readBytes(list),
            ListBytes(4, {{1, "C:\\a.mpg"}, {0, "C:\\b.bmp"}, {0, "C:\\Videos\\still.bmp"}, {0, "C:\\Videos\\still.bmp"}}));
}

TEST_F(MediaListFileTest, AppendingRefusesWhatCannotBeListed) {
  EXPECT_FALSE(AppendMediaList(list.c_str(), "C:\\Videos\\gone.mpg", kMediaListVideo));
  EXPECT_FALSE(exists(list)) << "no list made for a missing file";
  makeFile("C:\\Videos\\cap00.mpg");
  EXPECT_FALSE(AppendMediaList(nullptr, "C:\\Videos\\cap00.mpg", kMediaListVideo));

  const Bytes good = ListBytes(1, {{1, "C:\\a.mpg"}});
  writeBytes(list, good);
  EXPECT_FALSE(AppendMediaList(list.c_str(), "C:\\Videos\\gone.mpg", kMediaListVideo));
  EXPECT_EQ(readBytes(list), good) << "unchanged";

  const Bytes negative = ListBytes(-1, {});
  writeBytes(list, negative);
  EXPECT_FALSE(AppendMediaList(list.c_str(), "C:\\Videos\\cap00.mpg", kMediaListVideo));
  EXPECT_EQ(readBytes(list), negative);

  writeBytes(list, Bytes{1, 0});
  EXPECT_FALSE(AppendMediaList(list.c_str(), "C:\\Videos\\cap00.mpg", kMediaListVideo)) << "short count";
  EXPECT_EQ(readBytes(list), (Bytes{1, 0}));

  const std::string longName = "C:\\Videos\\" + std::string(250, 'n') + ".mpg";  // 264 characters
  makeFile(longName);
  writeBytes(list, good);
  EXPECT_FALSE(AppendMediaList(list.c_str(), longName.c_str(), kMediaListVideo));
  EXPECT_EQ(readBytes(list), good);
}

TEST_F(MediaListFileTest, ListsLoadIntoItemsAndSaveBackTheSameBytes) {
  const Bytes file = ListBytes(3, {{1, "C:\\Videos\\cap00.mpg"}, {0, "C:\\Picture\\cap00.bmp"}, {1, "D:\\x.avi"}});
  writeBytes(list, file);
  ASSERT_TRUE(LoadMediaList(list.c_str(), items));
  ASSERT_EQ(items.GetSize(), 3);
  EXPECT_EQ(item(0)->GetLoadOrder(), 0);
  EXPECT_EQ(item(2)->GetLoadOrder(), 2);
  EXPECT_TRUE(item(0)->IsVideo());
  EXPECT_STREQ(item(0)->GetVideoPath(), "C:\\Videos\\cap00.mpg");
  EXPECT_STREQ(item(0)->GetDisplayName(), "cap00.mpg");
  EXPECT_FALSE(item(1)->IsVideo());
  EXPECT_STREQ(item(1)->GetImagePath(), "C:\\Picture\\cap00.bmp");

  const std::string copy = "C:\\Videos\\copy.lis";
  ASSERT_TRUE(SaveMediaList(copy.c_str(), items));
  EXPECT_EQ(readBytes(copy), file);
  EXPECT_FALSE(exists(copy + ".new"));

  clear();
  writeBytes(list, ListBytes(0, {}));
  ASSERT_TRUE(LoadMediaList(list.c_str(), items));
  EXPECT_EQ(items.GetSize(), 0);
  ASSERT_TRUE(SaveMediaList(copy.c_str(), items));
  EXPECT_EQ(readBytes(copy), ListBytes(0, {}));
}

TEST_F(MediaListFileTest, BadListsAreRefusedWithTheItemsKept) {
  items.Add(new CMediaFileItem);
  Bytes noNul = ListBytes(1, {{1, ""}});
  std::fill(noNul.begin() + 8, noNul.end(), 'a');
  Bytes truncated = ListBytes(2, {{1, "C:\\a.mpg"}, {1, "C:\\b.mpg"}});
  truncated.resize(truncated.size() - 1);
  for (const Bytes& bad : {ListBytes(-1, {}), ListBytes(3, {{1, "C:\\a.mpg"}}), truncated,
                           ListBytes(1, {{7, "C:\\a.mpg"}}), ListBytes(1, {{1, ""}}), noNul, Bytes{}, Bytes{1, 0, 0}}) {
    writeBytes(list, bad);
    EXPECT_FALSE(LoadMediaList(list.c_str(), items)) << bad.size() << " bytes";
    EXPECT_EQ(items.GetSize(), 1);
  }
  EXPECT_FALSE(LoadMediaList("C:\\Videos\\none.lis", items));
  EXPECT_FALSE(LoadMediaList(nullptr, items));
  EXPECT_EQ(items.GetSize(), 1);

  // What a failed append leaves after the counted records is not a record.
  Bytes tail = ListBytes(1, {{1, "C:\\a.mpg"}});
  tail.resize(tail.size() + 100, 0x55);
  writeBytes(list, tail);
  ASSERT_TRUE(LoadMediaList(list.c_str(), items));
  EXPECT_EQ(items.GetSize(), 2) << "appended to what was there";
}

TEST_F(MediaListFileTest, AFailedSaveLeavesTheOldList) {
  const Bytes old = ListBytes(1, {{1, "C:\\a.mpg"}});
  writeBytes(list, old);
  auto* tooLong = new CMediaFileItem;
  tooLong->SetVideo(1);
  tooLong->SetVideoPath(("C:\\" + std::string(300, 'x') + ".mpg").c_str());
  items.Add(tooLong);
  EXPECT_FALSE(SaveMediaList(list.c_str(), items));
  EXPECT_EQ(readBytes(list), old);
  EXPECT_FALSE(exists(list + ".new"));

  clear();
  makeFile("C:\\Videos\\cap00.mpg");
  ASSERT_TRUE(LoadMediaList(list.c_str(), items));
  items.Add(new CMediaFileItem);
  {
    test::FileSizeLimit diskFull(old.size());  // the new list cannot be written whole
    EXPECT_FALSE(SaveMediaList(list.c_str(), items));
    EXPECT_FALSE(AppendMediaList(list.c_str(), "C:\\Videos\\cap00.mpg", kMediaListVideo));
  }
  EXPECT_EQ(readBytes(list), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(linuxPath("C:\\Videos")), {}), 2)
      << "nothing left beside the list";
}

TEST_F(MediaListFileTest, AppendingToADamagedListKeepsOnlyTheRecordsItHolds) {
  makeFile("C:\\Videos\\cap00.mpg");
  // A count far past the records: appending never writes at that count's slot.
  writeBytes(list, ListBytes(0x7ffffff0, {{1, "C:\\a.mpg"}}));
  ASSERT_TRUE(AppendMediaList(list.c_str(), "C:\\Videos\\cap00.mpg", kMediaListVideo));
  EXPECT_EQ(readBytes(list), ListBytes(2, {{1, "C:\\a.mpg"}, {1, "C:\\Videos\\cap00.mpg"}}));
  ASSERT_TRUE(LoadMediaList(list.c_str(), items));
  EXPECT_EQ(items.GetSize(), 2);

  // Bytes after the counted records (part of a record) are dropped by the next append.
  Bytes tail = ListBytes(1, {{1, "C:\\a.mpg"}});
  tail.resize(tail.size() + 100, 0x55);
  writeBytes(list, tail);
  ASSERT_TRUE(AppendMediaList(list.c_str(), "C:\\Videos\\cap00.mpg", kMediaListVideo));
  EXPECT_EQ(readBytes(list), ListBytes(2, {{1, "C:\\a.mpg"}, {1, "C:\\Videos\\cap00.mpg"}}));
}

TEST_F(MediaListFileTest, AFinishedListLeftBesideAMissingOneIsTaken) {
  const Bytes finished = ListBytes(1, {{1, "C:\\a.mpg"}});
  writeBytes(list + ".new", finished);
  ASSERT_TRUE(LoadMediaList(list.c_str(), items));
  EXPECT_EQ(items.GetSize(), 1);
  EXPECT_EQ(readBytes(list), finished);
  EXPECT_FALSE(exists(list + ".new"));

  writeBytes(list + ".new", ListBytes(0, {}));  // the list is there: a leftover is not taken
  clear();
  ASSERT_TRUE(LoadMediaList(list.c_str(), items));
  EXPECT_EQ(items.GetSize(), 1);
}

}  // namespace
