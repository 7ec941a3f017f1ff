#include "FileTest.h"

#include <mfc/CFile.h>
#include <win32/error.h>
#include <win32/file.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class CFileTest : public mfctest::FileTest {};

TEST_F(CFileTest, OpenReportsWhyItFailed) {
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open("C:\\missing.dat", CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(file.m_hFile, CFile::hFileNull);

  EXPECT_FALSE(file.Open("C:\\no\\such\\folder\\x.dat", CFile::modeCreate | CFile::modeWrite, &error));
  EXPECT_EQ(error.m_cause, CFileException::badPath);
  EXPECT_FALSE(file.Open("C:\\missing.dat", CFile::modeRead));  // without an exception object
}

TEST_F(CFileTest, CreateTruncatesUnlessTold) {
  writeRaw("C:\\ZRQData.dat", "0123456789");
  {
    CFile file;
    ASSERT_TRUE(file.Open("C:\\ZRQData.dat", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
    EXPECT_EQ(file.GetLength(), 10u);
    EXPECT_EQ(file.SeekToEnd(), 10u);
    file.Write("AB", 2);
  }
  EXPECT_EQ(rawBytes("C:\\ZRQData.dat"), "0123456789AB");
  writeRaw("C:\\ZRQData.dat", "x");
  EXPECT_EQ(rawBytes("C:\\ZRQData.dat"), "x");
}

TEST_F(CFileTest, SeeksReadsAndWritesInPlace) {
  writeRaw("C:\\rec.bin", std::string(100, '.'));
  CFile file;
  ASSERT_TRUE(file.Open("C:\\rec.bin", CFile::modeReadWrite | CFile::shareDenyNone));
  EXPECT_EQ(file.Seek(36, CFile::begin), 36);
  file.Write("RECORD", 6);
  EXPECT_EQ(file.GetPosition(), 42u);
  EXPECT_EQ(file.Seek(-12, CFile::current), 30);
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, 10), 10u);
  EXPECT_STREQ(buffer, "......RECO");
  EXPECT_EQ(file.Seek(-5, CFile::end), 95);
  EXPECT_EQ(file.Read(buffer, 16), 5u);  // short read at the end
  EXPECT_EQ(file.Read(buffer, 16), 0u);
  EXPECT_EQ(file.Seek(-1, CFile::begin), -1);  // a failed seek leaves the position alone
  EXPECT_EQ(file.GetPosition(), 100u);
  file.SeekToBegin();
  EXPECT_EQ(file.GetPosition(), 0u);

  file.SetLength(40);
  EXPECT_EQ(file.GetLength(), 40u);
  file.SetLength(50);
  EXPECT_EQ(file.GetLength(), 50u);
  file.Close();
  EXPECT_EQ(file.m_hFile, CFile::hFileNull);
  const std::string bytes = rawBytes("C:\\rec.bin");
  EXPECT_EQ(bytes.substr(36, 4), "RECO");
  EXPECT_EQ(bytes.substr(40), std::string(10, '\0'));
}

TEST_F(CFileTest, NamesItsFileAndReportsStatus) {
  ASSERT_TRUE(CreateDirectoryA("C:\\Videos", nullptr));
  writeRaw("C:\\Videos\\clip.mpg", std::string(1234, 'v'));
  CFile file;
  ASSERT_TRUE(file.Open("C:\\Videos\\clip.mpg", CFile::modeRead));
  EXPECT_STREQ(file.GetFileName(), "clip.mpg");
  EXPECT_STREQ(file.GetFilePath(), "C:\\Videos\\clip.mpg");

  CFileStatus status{};
  ASSERT_TRUE(file.GetStatus(status));
  EXPECT_EQ(status.m_size, 1234);
  EXPECT_STREQ(status.m_szFullName, "C:\\Videos\\clip.mpg");
  EXPECT_FALSE(status.m_attribute & CFile::directory);

  ASSERT_TRUE(CFile::GetStatus("C:\\Videos", status));
  EXPECT_TRUE(status.m_attribute & CFile::directory);
  EXPECT_FALSE(CFile::GetStatus("C:\\Videos\\none.mpg", status));
}

TEST_F(CFileTest, RenamesAndRemoves) {
  writeRaw("C:\\a.lis", "list");
  EXPECT_TRUE(CFile::Rename("C:\\a.lis", "C:\\b.lis"));
  EXPECT_EQ(rawBytes("C:\\a.lis"), "<missing>");
  EXPECT_EQ(rawBytes("C:\\b.lis"), "list");
  EXPECT_FALSE(CFile::Rename("C:\\a.lis", "C:\\c.lis"));
  EXPECT_TRUE(CFile::Remove("C:\\b.lis"));
  EXPECT_FALSE(CFile::Remove("C:\\b.lis"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(CFileTest, ReadOnlyFileRefusesWrites) {
  writeRaw("C:\\ro.bin", "abc");
  CFile file;
  ASSERT_TRUE(file.Open("C:\\ro.bin", CFile::modeRead));
  file.Write("zz", 2);  // fails without throwing
  file.Close();
  EXPECT_EQ(rawBytes("C:\\ro.bin"), "abc");
}

}  // namespace
