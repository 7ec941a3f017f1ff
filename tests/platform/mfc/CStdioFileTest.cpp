#include "FileTest.h"

#include <mfc/CFile.h>
#include <mfc/CStdioFile.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class CStdioFileTest : public mfctest::FileTest {};

TEST_F(CStdioFileTest, TextModeWritesCrLf) {
  CStdioFile log;
  ASSERT_TRUE(log.Open("C:\\LOG.TXT", CFile::modeCreate | CFile::modeWrite | CFile::typeText));
  log.WriteString("first\nsecond\n");
  log.WriteString("no end");
  log.Close();
  EXPECT_EQ(rawBytes("C:\\LOG.TXT"), "first\r\nsecond\r\nno end");

  CStdioFile binary;
  ASSERT_TRUE(binary.Open("C:\\bin.txt", CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
  binary.WriteString("a\nb\n");
  binary.Close();
  EXPECT_EQ(rawBytes("C:\\bin.txt"), "a\nb\n");
}

TEST_F(CStdioFileTest, ReadStringDropsTheLineEnd) {
  writeRaw("C:\\lines.txt", "one\r\ntwo\nthree\r\rfour\r\n\r\nlast");
  CStdioFile file;
  ASSERT_TRUE(file.Open("C:\\lines.txt", CFile::modeRead));  // text is the default
  CString line;
  std::vector<std::string> lines;
  while (file.ReadString(line)) lines.push_back(static_cast<LPCSTR>(line));
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three\r\rfour", "", "last"}));
  EXPECT_FALSE(file.ReadString(line));
  EXPECT_TRUE(line.IsEmpty());
}

TEST_F(CStdioFileTest, BinaryModeKeepsCarriageReturns) {
  writeRaw("C:\\lines.bin", "one\r\ntwo");
  CStdioFile file;
  ASSERT_TRUE(file.Open("C:\\lines.bin", CFile::modeRead | CFile::typeBinary));
  CString line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_STREQ(line, "one\r");
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_STREQ(line, "two");
}

TEST_F(CStdioFileTest, BufferReadStringKeepsTheLineFeedLikeFgets) {
  writeRaw("C:\\fgets.txt", "abcdef\r\nxy\r\n");
  CStdioFile file;
  ASSERT_TRUE(file.Open("C:\\fgets.txt", CFile::modeRead | CFile::typeText));
  char buffer[5];
  ASSERT_NE(file.ReadString(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "abcd");  // cut at nMax - 1
  ASSERT_NE(file.ReadString(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "ef\n");  // CR-LF read as "\n"
  ASSERT_NE(file.ReadString(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "xy\n");
  EXPECT_EQ(file.ReadString(buffer, sizeof buffer), nullptr);
}

TEST_F(CStdioFileTest, PositionFollowsWhatWasReadNotWhatWasBuffered) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + "\r\n";
  writeRaw("C:\\big.txt", text);
  CStdioFile file;
  ASSERT_TRUE(file.Open("C:\\big.txt", CFile::modeReadWrite));
  CString line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(file.GetPosition(), 8u);  // "line 0\r\n"
  char raw[9] = {};
  EXPECT_EQ(file.Read(raw, 8), 8u);
  EXPECT_STREQ(raw, "line 1\r\n");

  // Writing after reading lands right after the text read so far.
  file.WriteString("LINE 2\n");
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_STREQ(line, "line 3");

  file.Seek(-8, CFile::current);
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_STREQ(line, "line 3");
  file.SeekToBegin();
  int count = 0;
  while (file.ReadString(line)) ++count;
  EXPECT_EQ(count, 2000);
  EXPECT_EQ(file.GetPosition(), file.GetLength());
  file.Close();
  EXPECT_EQ(rawBytes("C:\\big.txt").substr(16, 8), "LINE 2\r\n");
}

}  // namespace
