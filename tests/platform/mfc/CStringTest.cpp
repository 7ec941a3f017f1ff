#include <mfc/CString.h>
#include <mfc/StringResources.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

TEST(CStringFormat, PrintsTheConversionsCallersUse) {
  CString s;
  s.Format("%d|%s|%02d|%.2f|%01d", 42, "name", 7, 3.14159, 5);
  EXPECT_STREQ(s, "42|name|07|3.14|5");
  s.Format("%08x %2x", 0xBEEFu, 5);
  EXPECT_STREQ(s, "0000beef  5");
}

TEST(CStringFormat, LongConversionsPrintThirtyTwoBitValues) {
  // LONG and DWORD are 32 bits; "%ld"/"%lu" read 64 here, so Format must widen them.
  const LONG minusOne = -1;
  const DWORD big = 0xFFFFFFFFu;
  CString s;
  s.Format("cap%ld_%ld.bmp", minusOne, LONG(0));
  EXPECT_STREQ(s, "cap-1_0.bmp");
  s.Format("%lu %ld %d", big, LONG(INT_MIN), -7);
  EXPECT_STREQ(s, "4294967295 -2147483648 -7");
}

TEST(CStringFormat, TakesCStringArgumentsAsText) {
  const CString name("ZRQChannels.chl");
  CString path;
  path.Format("%s\\%s", CString("C:\\Program"), name);
  EXPECT_STREQ(path, "C:\\Program\\ZRQChannels.chl");
  // Formatting a string from itself reads the old value.
  path.Format("[%s]", path);
  EXPECT_STREQ(path, "[C:\\Program\\ZRQChannels.chl]");
  path.AppendFormat(" %d KB", 12);
  EXPECT_STREQ(path, "[C:\\Program\\ZRQChannels.chl] 12 KB");
}

TEST(CStringFind, ReportsPositionsAndEdges) {
  const CString s("a.b.mpg");
  EXPECT_EQ(s.Find('.'), 1);
  EXPECT_EQ(s.Find('.', 2), 3);
  EXPECT_EQ(s.Find('.', 4), -1);
  EXPECT_EQ(s.Find("mpg"), 4);
  EXPECT_EQ(s.Find("mpg", 5), -1);
  EXPECT_EQ(s.Find("x"), -1);
  EXPECT_EQ(s.Find('a', 100), -1);
  EXPECT_EQ(s.Find('a', -1), -1);
  EXPECT_EQ(s.ReverseFind('.'), 3);
  EXPECT_EQ(s.ReverseFind('a'), 0);
  EXPECT_EQ(s.ReverseFind('z'), -1);
  EXPECT_EQ(s.FindOneOf("gb"), 2);
  EXPECT_EQ(s.FindOneOf("xyz"), -1);
  EXPECT_EQ(CString().Find('a'), -1);
  EXPECT_EQ(CString().ReverseFind('a'), -1);
}

TEST(CStringExtract, MidLeftRightClampOutOfRangeArguments) {
  const CString s("abcdef");
  EXPECT_STREQ(s.Mid(2), "cdef");
  EXPECT_STREQ(s.Mid(2, 2), "cd");
  EXPECT_STREQ(s.Mid(4, 100), "ef");
  EXPECT_STREQ(s.Mid(4, INT_MAX), "ef");
  EXPECT_STREQ(s.Mid(-3, 2), "ab");
  EXPECT_STREQ(s.Mid(10), "");
  EXPECT_STREQ(s.Mid(1, -1), "");
  EXPECT_STREQ(s.Left(3), "abc");
  EXPECT_STREQ(s.Left(99), "abcdef");
  EXPECT_STREQ(s.Left(-1), "");
  EXPECT_STREQ(s.Right(2), "ef");
  EXPECT_STREQ(s.Right(99), "abcdef");
  EXPECT_STREQ(s.Right(-5), "");
  // The text after the last '.', as extension checks take it.
  const CString path("clip.MPG");
  EXPECT_EQ(path.Mid(path.ReverseFind('.') + 1).CompareNoCase("mpg"), 0);
}

TEST(CStringExtract, SpansStopAtTheFirstMismatch) {
  const CString s("123abc;rest");
  EXPECT_STREQ(s.SpanIncluding("0123456789"), "123");
  EXPECT_STREQ(s.SpanExcluding(";"), "123abc");
  EXPECT_STREQ(s.SpanExcluding("x"), "123abc;rest");
  EXPECT_STREQ(s.SpanIncluding("x"), "");
}

TEST(CStringTrim, RemovesWhiteSpaceOrTheGivenCharacters) {
  CString s(" \t value \r\n");
  s.TrimLeft();
  EXPECT_STREQ(s, "value \r\n");
  s.TrimRight();
  EXPECT_STREQ(s, "value");

  CString quoted("\"\"text\"");
  quoted.Trim('"');
  EXPECT_STREQ(quoted, "text");

  CString path("\\\\dir\\/");
  path.TrimRight("\\/");
  EXPECT_STREQ(path, "\\\\dir");
  path.TrimLeft("\\");
  EXPECT_STREQ(path, "dir");

  CString blank("   ");
  blank.Trim();
  EXPECT_TRUE(blank.IsEmpty());
  CString inner(" a b ");
  inner.Trim();
  EXPECT_STREQ(inner, "a b");
}

TEST(CStringCase, ConvertsAndComparesAsciiWithoutRegardToCase) {
  CString s("Mixed Case 12\xE9");
  s.MakeUpper();
  EXPECT_STREQ(s, "MIXED CASE 12\xE9");
  s.MakeLower();
  EXPECT_STREQ(s, "mixed case 12\xE9");
  s.MakeReverse();
  EXPECT_STREQ(s, "\xE9" "21 esac dexim");

  EXPECT_EQ(CString("USB TV Device").CompareNoCase("usb tv device"), 0);
  EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
  EXPECT_GT(CString("abcd").CompareNoCase("ABC"), 0);
  // Letters compare as lower case, so '_' sorts before any letter.
  EXPECT_LT(CString("_").CompareNoCase("A"), 0);
  EXPECT_LT(CString("B").Compare("a"), 0);
  EXPECT_EQ(CString().CompareNoCase(nullptr), 0);
}

TEST(CStringBuffer, ReleaseBufferTakesTheWrittenLength) {
  CString s("old");
  char* buffer = s.GetBuffer(64);
  std::strcpy(buffer, "written by an API");
  s.ReleaseBuffer();
  EXPECT_EQ(s.GetLength(), 17);
  EXPECT_STREQ(s, "written by an API");

  buffer = s.GetBuffer(0);  // the current text, writable in place
  buffer[0] = 'W';
  s.ReleaseBuffer(7);
  EXPECT_STREQ(s, "Written");

  CString fixed;
  std::memcpy(fixed.GetBufferSetLength(3), "xyz", 3);
  EXPECT_STREQ(fixed, "xyz");
  EXPECT_EQ(fixed.GetLength(), 3);
}

TEST(CStringEdit, ReplaceRemoveInsertDeleteReportCounts) {
  CString s("a--b--c");
  EXPECT_EQ(s.Replace("--", "+"), 2);
  EXPECT_STREQ(s, "a+b+c");
  EXPECT_EQ(s.Replace("+", "++"), 2);  // replacements are not rescanned
  EXPECT_STREQ(s, "a++b++c");
  EXPECT_EQ(s.Replace("", "x"), 0);
  EXPECT_EQ(s.Replace("zz", "x"), 0);
  EXPECT_EQ(s.Replace('+', '-'), 4);
  EXPECT_EQ(s.Remove('-'), 4);
  EXPECT_STREQ(s, "abc");
  EXPECT_EQ(s.Insert(1, "XY"), 5);
  EXPECT_EQ(s.Insert(100, '!'), 6);
  EXPECT_STREQ(s, "aXYbc!");
  EXPECT_EQ(s.Delete(1, 2), 4);
  EXPECT_STREQ(s, "abc!");
  EXPECT_EQ(s.Delete(2, 100), 2);
  EXPECT_EQ(s.Delete(9), 2);
  EXPECT_STREQ(s, "ab");
}

TEST(CStringValue, CopiesAreIndependentAndOperatorsCompose) {
  CString a("left");
  CString b = a;
  b.SetAt(0, 'L');
  EXPECT_STREQ(a, "left");
  EXPECT_STREQ(b, "Left");
  EXPECT_EQ(b[1], 'e');

  CString joined = a + '/' + "mid" + CString("/") + b;
  EXPECT_STREQ(joined, "left/mid/Left");
  joined += '.';
  joined += "x";
  EXPECT_STREQ(joined, "left/mid/Left.x");

  EXPECT_TRUE(a == "left");
  EXPECT_TRUE("left" == a);
  EXPECT_TRUE(a != b);
  EXPECT_TRUE(b < a);
  EXPECT_TRUE(CString("a") < CString("b"));
  EXPECT_STREQ(CString('-', 3), "---");
  EXPECT_STREQ(CString("abcdef", 3), "abc");
  EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());

  CString self("self");
  self = static_cast<LPCSTR>(self) + 1;  // assigning from its own characters
  EXPECT_STREQ(self, "elf");
}

bool fakeStringTable(UINT id, std::string& text) {
  if (id != 101) return false;
  text = "Load the Menu Resource Failed!";
  return true;
}

TEST(CStringResources, LoadStringUsesTheInstalledStringTable) {
  CString s("stale");
  EXPECT_FALSE(s.LoadString(101));  // no string table installed
  EXPECT_TRUE(s.IsEmpty());

  plat::StringResources::setLookup(fakeStringTable);
  EXPECT_TRUE(s.LoadString(101));
  EXPECT_STREQ(s, "Load the Menu Resource Failed!");
  EXPECT_STREQ(CString(MAKEINTRESOURCE(101)), "Load the Menu Resource Failed!");
  EXPECT_FALSE(s.LoadString(102));
  plat::StringResources::setLookup(nullptr);
  EXPECT_TRUE(CString(MAKEINTRESOURCE(101)).IsEmpty());
}

}  // namespace
