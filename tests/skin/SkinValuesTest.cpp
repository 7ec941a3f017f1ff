#include "SkinFolder.h"

#include "skin/SkinValues.h"

#include <climits>
#include <string>

namespace {

class SkinValuesTest : public test::MachineTest {
 protected:
  test::SkinFolder folder{machine(), "Skin"};
};

TEST(CutFieldTest, CutsAtTheFirstCommaAndTrimsOnlyTheRest) {
  CString value = " a ,  b , c  ";
  EXPECT_EQ(CutField(value), " a ");
  EXPECT_EQ(value, "b , c");
  EXPECT_EQ(CutField(value), "b ");
  EXPECT_EQ(value, "c");
  // No comma: the whole value, which stays as it is.
  EXPECT_EQ(CutField(value), "c");
  EXPECT_EQ(CutField(value), "c");
  EXPECT_EQ(value, "c");

  CString empty;
  EXPECT_EQ(CutField(empty), "");
  CString trailing = "x,";
  EXPECT_EQ(CutField(trailing), "x");
  EXPECT_EQ(trailing, "");
}

TEST(CutFieldTest, LongValuesAreCutWithoutLimit) {
  CString value = CString('n', 2000) + "," + CString('m', 1500);
  EXPECT_EQ(CutField(value).GetLength(), 2000);
  EXPECT_EQ(value.GetLength(), 1500);
}

TEST(FieldToIntTest, ReadsLikeTheCLibrary) {
  EXPECT_EQ(FieldToInt(" 12x"), 12);
  EXPECT_EQ(FieldToInt("-7"), -7);
  EXPECT_EQ(FieldToInt("+3"), 3);
  EXPECT_EQ(FieldToInt("abc"), 0);
  EXPECT_EQ(FieldToInt(""), 0);
  EXPECT_EQ(FieldToInt("99999999999999999999"), INT_MAX);
  EXPECT_EQ(FieldToInt("-99999999999"), INT_MIN);
}

TEST_F(SkinValuesTest, RectanglesRepeatTheLastFieldAndEmptyLeavesThemAlone) {
  CIniFile ini(folder.writeIni("[R]\r\nshort=1,2\r\nfull=10, 20 ,30,40\r\nempty=\r\nword=left,top\r\n"));
  RECT rect{9, 9, 9, 9};
  ASSERT_TRUE(ReadRect(ini, "R", "short", rect));
  EXPECT_EQ(CRect(rect), CRect(1, 2, 2, 2));
  ASSERT_TRUE(ReadRect(ini, "R", "full", rect));
  EXPECT_EQ(CRect(rect), CRect(10, 20, 30, 40));
  ASSERT_TRUE(ReadRect(ini, "R", "word", rect));
  EXPECT_EQ(CRect(rect), CRect(0, 0, 0, 0));

  rect = RECT{5, 6, 7, 8};
  EXPECT_FALSE(ReadRect(ini, "R", "empty", rect));
  EXPECT_FALSE(ReadRect(ini, "R", "missing", rect));
  EXPECT_EQ(CRect(rect), CRect(5, 6, 7, 8));
}

TEST_F(SkinValuesTest, ColoursKeepTheLowByteOfEachPart) {
  CIniFile ini(folder.writeIni("[C]\r\nblue=0,0,255\r\nwide=300,2,1\r\none=7\r\nempty=\r\n"));
  COLORREF color = 0x123456;
  ASSERT_TRUE(ReadColor(ini, "C", "blue", color));
  EXPECT_EQ(color, 0xFF0000u);
  ASSERT_TRUE(ReadColor(ini, "C", "wide", color));
  EXPECT_EQ(color, (300u & 0xFF) + 2u * 256 + 1u * 65536);
  ASSERT_TRUE(ReadColor(ini, "C", "one", color));  // the one field repeats
  EXPECT_EQ(color, 0x070707u);
  color = 0x123456;
  EXPECT_FALSE(ReadColor(ini, "C", "empty", color));
  EXPECT_EQ(color, 0x123456u);
}

TEST_F(SkinValuesTest, OnlyTrueInAnyCaseIsTrue) {
  CIniFile ini(folder.writeIni("[B]\r\na=TRUE\r\nb=true\r\nc=TrUe\r\nd=FALSE\r\ne=yes\r\nf=1\r\ng=TRUE!\r\n"));
  EXPECT_TRUE(ReadBool(ini, "B", "a"));
  EXPECT_TRUE(ReadBool(ini, "B", "b"));
  EXPECT_TRUE(ReadBool(ini, "B", "c"));
  EXPECT_FALSE(ReadBool(ini, "B", "d"));
  EXPECT_FALSE(ReadBool(ini, "B", "e"));
  EXPECT_FALSE(ReadBool(ini, "B", "f"));
  EXPECT_FALSE(ReadBool(ini, "B", "g"));
  EXPECT_FALSE(ReadBool(ini, "B", "missing"));
}

TEST_F(SkinValuesTest, ButtonEntriesTakeTheirIdFromTheKey) {
  CIniFile ini(folder.writeIni(
      "[TV-Buttons]\r\n"
      "1=TV_BUTTON,tv.bmp,10,20,110,60,0\r\n"
      "2=RECORD_MOVIE, rec.bmp ,0,0,5\r\n"
      "3=\r\n"
      "4=RETURN_BUTTON,ret.bmp,1,2,3,4,X\r\n"));
  CStringArray keys;
  ASSERT_TRUE(ini.GetSectionKeys("TV-Buttons", keys));
  ASSERT_EQ(keys.GetSize(), 4);

  SkinButtonEntry entry;
  ASSERT_TRUE(ReadButtonEntry(ini, "TV-Buttons", 1, entry));
  EXPECT_EQ(entry.strName, "TV_BUTTON");
  EXPECT_EQ(entry.strImage, "tv.bmp");
  EXPECT_EQ(entry.rcDesign, CRect(10, 20, 110, 60));
  EXPECT_EQ(entry.nCommandId, 5000);

  ASSERT_TRUE(ReadButtonEntry(ini, "TV-Buttons", 2, entry));
  EXPECT_EQ(entry.strImage, "rec.bmp ");  // fields keep their own blanks
  EXPECT_EQ(entry.rcDesign, CRect(0, 0, 5, 5));
  EXPECT_EQ(entry.nCommandId, 5001);

  EXPECT_FALSE(ReadButtonEntry(ini, "TV-Buttons", 3, entry));
  ASSERT_TRUE(ReadButtonEntry(ini, "TV-Buttons", 4, entry));
  EXPECT_EQ(entry.strName, "RETURN_BUTTON");
  EXPECT_EQ(entry.nCommandId, 5003);
}

TEST_F(SkinValuesTest, LongAndBrokenButtonValuesAreReadSafely) {
  const std::string longName(2000, 'N');
  CIniFile ini(folder.writeIni("[X-Buttons]\r\n1=" + longName + ",img.bmp,1,2,3,4,0\r\n2=,,,\r\n3=" +
                               std::string(2500, ',') + "\r\n"));
  SkinButtonEntry entry;
  ASSERT_TRUE(ReadButtonEntry(ini, "X-Buttons", 1, entry));
  EXPECT_EQ(entry.strName.GetLength(), 2000);
  EXPECT_EQ(entry.rcDesign, CRect(1, 2, 3, 4));
  ASSERT_TRUE(ReadButtonEntry(ini, "X-Buttons", 2, entry));
  EXPECT_EQ(entry.strName, "");
  EXPECT_EQ(entry.rcDesign, CRect(0, 0, 0, 0));
  ASSERT_TRUE(ReadButtonEntry(ini, "X-Buttons", 3, entry));
  EXPECT_EQ(entry.strName, "");
}

TEST(ScaleDesignRectTest, ScalesFrom1024By768WithTruncation) {
  EXPECT_EQ(ScaleDesignRect(CRect(100, 100, 1023, 767), 800, 600), CRect(78, 78, 799, 599));
  EXPECT_EQ(ScaleDesignRect(CRect(0, 0, 1024, 768), 1024, 768), CRect(0, 0, 1024, 768));
  EXPECT_EQ(ScaleDesignRect(CRect(-100, -100, 0, 0), 800, 600), CRect(-78, -78, 0, 0));
  // Products beyond 32 bits stay exact.
  EXPECT_EQ(ScaleDesignRect(CRect(2000000000, 0, 2000000100, 1), 1024, 768), CRect(2000000000, 0, 2000000100, 1));
  // A control is at most the largest extent a side and none when turned over, as a picture.
  EXPECT_EQ(ScaleDesignRect(CRect(0, 0, 2000000000, 1), 1024, 768), CRect(0, 0, kLargestSkinExtent, 1));
  EXPECT_EQ(ScaleDesignRect(CRect(0, 0, kLargestSkinExtent, 1), 512, 768), CRect(0, 0, kLargestSkinExtent / 2, 1));
  EXPECT_EQ(ScaleDesignRect(CRect(40, 40, 8, 8), 1024, 768), CRect(40, 40, 40, 40));
  EXPECT_EQ(ScaleRect(CRect(0, 0, 2147483647, 2147483647), 800, 600, 800, 600),
            CRect(0, 0, kLargestSkinExtent, kLargestSkinExtent));
}

TEST_F(SkinValuesTest, SkinFilesLieBesideTheIniFile) {
  CIniFile ini("C:\\Program\\Skin\\TV\\skin.ini");
  EXPECT_EQ(GetSkinFilePath(ini, "bk.bmp"), "C:\\Program\\Skin\\TV\\bk.bmp");
  EXPECT_EQ(GetSkinFilePath(CIniFile("skin.ini"), "bk.bmp"), "bk.bmp");
}

}  // namespace
