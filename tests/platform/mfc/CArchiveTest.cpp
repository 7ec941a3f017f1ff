#include "FileTest.h"

#include <mfc/CArchive.h>
#include <mfc/CFile.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class CArchiveTest : public mfctest::FileTest {};

TEST_F(CArchiveTest, RoundTripsNumbersAndStrings) {
  const CString longText(static_cast<char>('a'), 300);
  const CString hugeText(static_cast<char>('h'), 70000);
  {
    CFile file;
    ASSERT_TRUE(file.Open("C:\\data.arc", CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store);
    EXPECT_TRUE(ar.IsStoring());
    ar << BYTE(0xAB) << WORD(0xBEEF) << LONG(-2) << DWORD(0xFFFFFFF0u) << 7 << 1.5f << -0.25;
    ar << CString("short") << CString() << longText << hugeText << "literal";
  }  // the destructor writes what is buffered
  CFile file;
  ASSERT_TRUE(file.Open("C:\\data.arc", CFile::modeRead));
  CArchive ar(&file, CArchive::load);
  EXPECT_TRUE(ar.IsLoading());
  BYTE b = 0;
  WORD w = 0;
  LONG l = 0;
  DWORD dw = 0;
  int i = 0;
  float f = 0;
  double d = 0;
  ar >> b >> w >> l >> dw >> i >> f >> d;
  EXPECT_EQ(b, 0xAB);
  EXPECT_EQ(w, 0xBEEF);
  EXPECT_EQ(l, -2);
  EXPECT_EQ(dw, 0xFFFFFFF0u);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(d, -0.25);
  CString s1, s2, s3, s4, s5;
  ar >> s1 >> s2 >> s3 >> s4 >> s5;
  EXPECT_STREQ(s1, "short");
  EXPECT_TRUE(s2.IsEmpty());
  EXPECT_EQ(s3, longText);
  EXPECT_EQ(s4, hugeText);
  EXPECT_STREQ(s5, "literal");
}

TEST_F(CArchiveTest, StoresLittleEndianWithEscapedLengths) {
  {
    CFile file;
    ASSERT_TRUE(file.Open("C:\\layout.arc", CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store);
    ar << WORD(0x0102) << DWORD(0x03040506) << CString("ab");
    ar << CString(static_cast<char>('x'), 254) << CString(static_cast<char>('y'), 255);
    ar << CString(static_cast<char>('z'), 0xFFFF);
    ar.Close();
  }
  const std::string bytes = rawBytes("C:\\layout.arc");
  ASSERT_EQ(bytes.size(), 2u + 4 + 3 + 255 + 258 + 7 + 0xFFFF);
  EXPECT_EQ(bytes.substr(0, 9), std::string("\x02\x01\x06\x05\x04\x03\x02" "ab", 9));
  EXPECT_EQ(static_cast<BYTE>(bytes[9]), 254);  // below 255: one byte
  const std::size_t wordAt = 9 + 255;
  EXPECT_EQ(bytes.substr(wordAt, 3), std::string("\xFF\xFF\x00", 3));  // 0xFF, then WORD 255
  const std::size_t dwordAt = wordAt + 3 + 255;
  EXPECT_EQ(bytes.substr(dwordAt, 7), std::string("\xFF\xFF\xFF\xFF\xFF\x00\x00", 7));  // 0xFFFF needs a DWORD
}

TEST_F(CArchiveTest, TruncatedInputGivesZerosAndShortStrings) {
  {
    CFile file;
    ASSERT_TRUE(file.Open("C:\\cut.arc", CFile::modeCreate | CFile::modeWrite));
    const char bytes[] = {'\x01', '\x02', '\x0A', 'a', 'b', 'c'};  // WORD, then a string claiming 10
    file.Write(bytes, sizeof bytes);
  }
  CFile file;
  ASSERT_TRUE(file.Open("C:\\cut.arc", CFile::modeRead));
  CArchive ar(&file, CArchive::load);
  WORD w = 0;
  CString s("old");
  DWORD after = 99;
  ar >> w >> s >> after;
  EXPECT_EQ(w, 0x0201);
  EXPECT_STREQ(s, "abc");
  EXPECT_EQ(after, 0u);

  // A damaged length far beyond the file reads only what is there.
  CFile bad;
  ASSERT_TRUE(bad.Open("C:\\bad.arc", CFile::modeCreate | CFile::modeReadWrite));
  const char huge[] = {'\xFF', '\xFF', '\xFF', '\xF0', '\xFF', '\xFF', '\x7F', 'q'};
  bad.Write(huge, sizeof huge);
  bad.SeekToBegin();
  CArchive in(&bad, CArchive::load);
  in >> s;
  EXPECT_STREQ(s, "q");
}

TEST_F(CArchiveTest, ClosingALoadArchiveLeavesTheFileAtTheLastValueTaken) {
  {
    CFile file;
    ASSERT_TRUE(file.Open("C:\\mixed.arc", CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store);
    ar << DWORD(1) << DWORD(2) << DWORD(3);
  }
  CFile file;
  ASSERT_TRUE(file.Open("C:\\mixed.arc", CFile::modeRead));
  {
    CArchive ar(&file, CArchive::load);
    DWORD first = 0;
    ar >> first;
    EXPECT_EQ(first, 1u);
  }
  EXPECT_EQ(file.GetPosition(), 4u);
  DWORD second = 0;
  EXPECT_EQ(file.Read(&second, 4), 4u);
  EXPECT_EQ(second, 2u);
}

TEST_F(CArchiveTest, ReadsAndWritesLinesAndRawBytes) {
  {
    CFile file;
    ASSERT_TRUE(file.Open("C:\\lines.arc", CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store, 128);
    ar.WriteString("first\r\nsecond\n");
    const std::string block(1000, 'k');  // larger than the buffer
    ar.Write(block.data(), static_cast<UINT>(block.size()));
    ar.WriteString("\nthird");
  }
  CFile file;
  ASSERT_TRUE(file.Open("C:\\lines.arc", CFile::modeRead));
  CArchive ar(&file, CArchive::load, 128);
  CString line;
  ASSERT_TRUE(ar.ReadString(line));
  EXPECT_STREQ(line, "first");
  char buffer[8];
  ASSERT_NE(ar.ReadString(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "second");
  std::string block(1000, '\0');
  EXPECT_EQ(ar.Read(block.data(), 1000), 1000u);
  EXPECT_EQ(block, std::string(1000, 'k'));
  ASSERT_TRUE(ar.ReadString(line));
  EXPECT_TRUE(line.IsEmpty());
  ASSERT_TRUE(ar.ReadString(line));
  EXPECT_STREQ(line, "third");
  EXPECT_FALSE(ar.ReadString(line));
  EXPECT_EQ(ar.ReadString(buffer, sizeof buffer), nullptr);
}

}  // namespace
