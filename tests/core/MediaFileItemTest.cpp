// Media file items on the machine's files: information texts at the size boundaries and
// in the installed language, file times, existence, renames refused and done, deletes,
// thumbnail names in the temp folder, the containing folder opened.
#include "CoreTest.h"

#include "core/CMediaFileItem.h"

#include <machine/EventLog.h>
#include <win32/file.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace {

class MediaFileItemTest : public test::CoreTest {
 protected:
  void SetUp() override {
    machine().ini().setValue("Windows", "Language", "1");
    std::filesystem::create_directories(linuxPath("C:\\Videos"));
  }

  // A file of `size` bytes last written at 2024-03-01 10:05:30 UTC.
  void makeFile(const std::string& path, std::uintmax_t size = 10) {
    { std::ofstream out(linuxPath(path), std::ios::binary); }
    std::filesystem::resize_file(linuxPath(path), size);
    const timespec times[2] = {{1709287530, 0}, {1709287530, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, linuxPath(path).c_str(), times, 0), 0);
  }

  static CMediaFileItem video(const char* path) {
    CMediaFileItem item;
    item.SetVideo(1);
    item.SetVideoPath(path);
    return item;
  }
  static CMediaFileItem picture(const char* path) {
    CMediaFileItem item;
    item.SetImagePath(path);
    return item;
  }
  std::string tempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
  }
};

TEST_F(MediaFileItemTest, ANewItemIsUnsetAndNamedAfterItsMainFile) {
  CMediaFileItem item;
  EXPECT_EQ(item.GetLoadOrder(), -1);
  EXPECT_EQ(item.GetSecondIndex(), -1);
  EXPECT_EQ(item.GetThirdIndex(), -1);
  EXPECT_EQ(item.IsVideo(), 0);
  item.SetVideoPath("C:\\Videos\\clip.mpg");
  item.SetVideoPath(nullptr);
  EXPECT_STREQ(item.GetVideoPath(), "") << "a picture item has no video path";
  item.SetVideo(1);
  EXPECT_STREQ(item.GetVideoPath(), "C:\\Videos\\clip.mpg");
  item.SetDisplayName(nullptr);
  EXPECT_STREQ(item.GetDisplayName(), "clip.mpg");
  item.SetDisplayName("Evening news");
  EXPECT_STREQ(item.GetDisplayName(), "Evening news");
  CString extension;
  EXPECT_TRUE(item.GetExtension(extension));
  EXPECT_STREQ(extension, "mpg");
  EXPECT_FALSE(video("C:\\Videos\\noext").GetExtension(extension));
  EXPECT_FALSE(video("C:\\Videos\\dot.").GetExtension(extension));
  EXPECT_FALSE(video("C:\\rec.v1\\clip").GetExtension(extension)) << "a folder's dot is no extension";
  EXPECT_STREQ(extension, "");
}

TEST_F(MediaFileItemTest, TheSameFileIsOneKindWithOnePathIgnoringCase) {
  const CMediaFileItem a = video("C:\\Videos\\Clip.mpg");
  const CMediaFileItem b = video("c:\\videos\\CLIP.MPG");
  const CMediaFileItem p = picture("C:\\Videos\\Clip.mpg");
  EXPECT_TRUE(CMediaFileItem::IsSameFile(&a, &b));
  EXPECT_FALSE(CMediaFileItem::IsSameFile(&a, &p));
  EXPECT_FALSE(CMediaFileItem::IsSameFile(&a, nullptr));
  EXPECT_TRUE(CMediaFileItem::IsSameFile(&p, &p));
  EXPECT_TRUE(CMediaFileItem::IsSameName("C:\\a\\Clip.mpg", "D:\\b\\clip.avi", 0));
  EXPECT_FALSE(CMediaFileItem::IsSameName("C:\\a\\Clip.mpg", "D:\\b\\clip.avi", 1));
  EXPECT_TRUE(CMediaFileItem::IsSameName("C:\\a\\Clip.mpg", "clip.MPG", 1));
  EXPECT_FALSE(CMediaFileItem::IsSameName("", "", 1));
}

TEST_F(MediaFileItemTest, InfoTextShowsMegabytesFromOneMegabyteAndKilobytesBelow) {
  machine().clock().setUtcOffsetMinutes(120);
  makeFile("C:\\Videos\\big.mpg", 1048576);
  makeFile("C:\\Videos\\small.mpg", 1048575);
  CMediaFileItem big = video("C:\\Videos\\big.mpg");
  big.SetInfoText(nullptr);
  EXPECT_STREQ(big.GetInfoText(),
               "File Name:big.mpg\nFile Path:C:\\Videos\\\nFile Date:2024/03/01  12:05\nFile Size:1.00 MB\n");
  CMediaFileItem small = video("C:\\Videos\\small.mpg");
  small.SetInfoText(nullptr);
  EXPECT_STREQ(small.GetInfoText(),
               "File Name:small.mpg\nFile Path:C:\\Videos\\\nFile Date:2024/03/01  12:05\nFile Size:1023 KB\n");
  small.SetInfoText("given");
  EXPECT_STREQ(small.GetInfoText(), "given");
}

TEST_F(MediaFileItemTest, ChineseInstallationsGetTheirOwnInfoText) {
  machine().ini().setValue("Windows", "AnsiCodePage", "936");
  machine().ini().setValue("Windows", "Language", "2");
  makeFile("C:\\Videos\\big.mpg", 3 * 1048576 / 2);
  CMediaFileItem item = video("C:\\Videos\\big.mpg");
  item.SetInfoText(nullptr);
  const std::string text = static_cast<LPCSTR>(item.GetInfoText());
  EXPECT_EQ(text.rfind("\xCE\xC4\xBC\xFE\xC3\xFB:big.mpg\n", 0), 0u) << "file name label in code page 936";
  EXPECT_NE(text.find("2024/03/01  10:05"), std::string::npos);
  EXPECT_NE(text.find(":1.50 MB\n"), std::string::npos);

  machine().ini().setValue("Windows", "Language", "3");
  item.SetInfoText(nullptr);
  const std::string traditional = static_cast<LPCSTR>(item.GetInfoText());
  EXPECT_NE(traditional, text);
  EXPECT_NE(traditional.find(":1.50 MB\n"), std::string::npos);
}

TEST_F(MediaFileItemTest, AMissingFileHasNoSizeTimesOrText) {
  CMediaFileItem item = video("C:\\Videos\\gone.mpg");
  EXPECT_EQ(item.GetFileSize(), -1);
  EXPECT_EQ(item.GetLastWriteTime().GetTime(), -1);
  EXPECT_EQ(item.GetCreationTime().GetTime(), -1);
  EXPECT_EQ(item.GetLastAccessTime().GetTime(), -1);
  EXPECT_FALSE(item.MainFileExists());
  item.SetInfoText(nullptr);
  EXPECT_STREQ(item.GetInfoText(), "");

  makeFile("C:\\Videos\\gone.mpg", 4096);
  EXPECT_EQ(item.GetFileSize(), 4096);
  EXPECT_EQ(item.GetLastWriteTime().GetTime(), 1709287530);
}

TEST_F(MediaFileItemTest, RecordingsPastFourGigabytesKeepTheirSize) {
  makeFile("C:\\Videos\\long.mpg", 5ull << 30);  // sparse
  CMediaFileItem item = video("C:\\Videos\\long.mpg");
  EXPECT_EQ(item.GetFileSize(), 5ll << 30);
  item.BuildInfoText();
  const std::string text = static_cast<LPCSTR>(item.GetInfoText());
  EXPECT_NE(text.find("File Size:5120.00 MB\n"), std::string::npos) << text;
}

TEST_F(MediaFileItemTest, FileExistsMatchesTheNameIgnoringCaseOnly) {
  makeFile("C:\\Videos\\Clip.mpg");
  EXPECT_TRUE(FileExists("C:\\VIDEOS\\CLIP.MPG"));
  EXPECT_FALSE(FileExists("C:\\Videos\\*.mpg")) << "a pattern is not the file's name";
  EXPECT_FALSE(FileExists("C:\\Videos\\Clip.mp"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(nullptr));
  EXPECT_FALSE(picture("C:\\Videos\\none.bmp").ImageFileExists());
}

TEST_F(MediaFileItemTest, RenameMovesTheFileWithinItsFolder) {
  makeFile("C:\\Videos\\clip.mpg");
  CMediaFileItem item = video("C:\\Videos\\clip.mpg");
  ASSERT_TRUE(item.Rename("CONCERT.mpg")) << "a device name inside a longer name is a plain name";
  EXPECT_STREQ(item.GetVideoPath(), "C:\\Videos\\CONCERT.mpg");
  EXPECT_STREQ(item.GetDisplayName(), "CONCERT.mpg");
  EXPECT_TRUE(exists("C:\\Videos\\CONCERT.mpg"));
  EXPECT_FALSE(exists("C:\\Videos\\clip.mpg"));

  makeFile("C:\\Videos\\still.bmp");
  CMediaFileItem still = picture("C:\\Videos\\still.bmp");
  ASSERT_TRUE(still.Rename("renamed.bmp"));
  EXPECT_STREQ(still.GetImagePath(), "C:\\Videos\\renamed.bmp");
  EXPECT_TRUE(exists("C:\\Videos\\renamed.bmp"));
}

TEST_F(MediaFileItemTest, RenameRefusesNamesThatAreNotPlainFileNames) {
  makeFile("C:\\Videos\\clip.mpg");
  CMediaFileItem item = video("C:\\Videos\\clip.mpg");
  for (const char* name : {"noext", "dot.", "..\\x.mpg", "sub\\x.mpg", "a/b.mpg", "a:b.mpg", "a|b.mpg", "a<b.mpg",
                           "a\"b.mpg", "con.mpg", "CON.txt", "Lpt1.avi", "clock$.mpg", ""}) {
    EXPECT_FALSE(item.Rename(name)) << name;
  }
  EXPECT_FALSE(item.Rename(std::string(257, 'x').append(".mpg").c_str()));
  EXPECT_FALSE(item.Rename(nullptr));
  EXPECT_STREQ(item.GetVideoPath(), "C:\\Videos\\clip.mpg");
  EXPECT_TRUE(exists("C:\\Videos\\clip.mpg"));
  EXPECT_FALSE(exists("C:\\x.mpg"));

  CMediaFileItem missing = video("C:\\Videos\\gone.mpg");
  EXPECT_FALSE(missing.Rename("other.mpg"));
  CMediaFileItem offDrive = video("Z:\\tmp\\clip.mpg");
  EXPECT_FALSE(offDrive.Rename("other.mpg")) << "only drives B to Y";
}

TEST_F(MediaFileItemTest, DeletesTakeOnlyTheirOwnKindOfFile) {
  makeFile("C:\\Videos\\clip.mpg");
  makeFile("C:\\Videos\\still.bmp");
  CMediaFileItem clip = video("C:\\Videos\\clip.mpg");
  CMediaFileItem still = picture("C:\\Videos\\still.bmp");
  EXPECT_FALSE(clip.DeletePictureFile());
  EXPECT_FALSE(still.DeleteVideoFile());
  EXPECT_TRUE(exists("C:\\Videos\\clip.mpg"));
  EXPECT_TRUE(exists("C:\\Videos\\still.bmp"));
  EXPECT_TRUE(clip.DeleteVideoFile());
  EXPECT_TRUE(still.DeletePictureFile());
  EXPECT_FALSE(exists("C:\\Videos\\clip.mpg"));
  EXPECT_FALSE(exists("C:\\Videos\\still.bmp"));
  EXPECT_FALSE(clip.DeleteVideoFile()) << "already gone";
}

TEST_F(MediaFileItemTest, ThumbnailNamesAreFreeNamesInTheTempFolder) {
  CMediaFileItem clip = video("C:\\Videos\\clip.mpg");
  EXPECT_FALSE(clip.MakeThumbnailName()) << "no video file";
  makeFile("C:\\Videos\\clip.mpg");
  ASSERT_TRUE(clip.MakeThumbnailName());
  EXPECT_EQ(std::string(clip.GetImagePath()), tempFolder() + "clip_tmp.bmp");
  makeFile(tempFolder() + "clip_tmp.bmp");
  makeFile(tempFolder() + "CLIP_tmp_tmp.bmp");
  ASSERT_TRUE(clip.MakeThumbnailName());
  EXPECT_EQ(std::string(clip.GetImagePath()), tempFolder() + "clip_tmp_tmp_tmp.bmp");

  makeFile(tempFolder() + "clip_tmp_tmp_tmp.bmp");
  clip.DeleteThumbnail();
  EXPECT_STREQ(clip.GetImagePath(), "");
  EXPECT_FALSE(exists(tempFolder() + "clip_tmp_tmp_tmp.bmp"));
  CMediaFileItem still = picture("C:\\Videos\\still.bmp");
  still.DeleteThumbnail();
  EXPECT_STREQ(still.GetImagePath(), "C:\\Videos\\still.bmp") << "a picture has no thumbnail";
  EXPECT_FALSE(still.MakeThumbnailName());
}

TEST_F(MediaFileItemTest, ThumbnailNamesStopBeforeOverrunningAPath) {
  const std::string stem(200, 'v');
  makeFile("C:\\Videos\\" + stem + ".mpg");
  CMediaFileItem clip = video(("C:\\Videos\\" + stem + ".mpg").c_str());
  int made = 0;
  while (clip.MakeThumbnailName() && made < 20) {
    ASSERT_LT(clip.GetImagePath().GetLength(), MAX_PATH);
    makeFile(static_cast<LPCSTR>(clip.GetImagePath()));
    ++made;
  }
  EXPECT_LT(made, 20) << "the names stop growing";
  EXPECT_GE(made, 1);
}

}  // namespace

namespace {

class MediaFileItemFolderTest : public MediaFileItemTest {
 protected:
  std::vector<std::string> explored() {
    std::vector<std::string> folders;
    for (const auto& entry : plat::EventLog::events(machine()).read())
      if (entry.category == "shell-explore") folders.push_back(entry.text);
    return folders;
  }
};

TEST_F(MediaFileItemFolderTest, TheContainingFolderOfTheMainFileOpensInTheFileManager) {
  makeFile("C:\\Videos\\clip.mpg");
  std::filesystem::create_directories(linuxPath("C:\\Pictures"));
  video("C:\\Videos\\clip.mpg").OpenContainingFolder();
  CMediaFileItem still = picture("C:\\Pictures\\still.bmp");
  still.SetVideoPath("C:\\Videos\\clip.mpg");  // a picture's main path is its image path
  still.OpenContainingFolder();
  EXPECT_EQ(explored(), (std::vector<std::string>{"C:\\Videos\\", "C:\\Pictures\\"}));
}

TEST_F(MediaFileItemFolderTest, APathWithoutAFolderOrAFolderThatWentOpensNothing) {
  video("clip.mpg").OpenContainingFolder();
  CMediaFileItem().OpenContainingFolder();
  video("C:\\Gone\\clip.mpg").OpenContainingFolder();
  EXPECT_TRUE(explored().empty());
}

}  // namespace
