#include "SkinFolder.h"

#include "skin/CIniFile.h"

#include <string>

namespace {

class CIniFileTest : public test::MachineTest {
 protected:
  test::SkinFolder folder{machine(), "Skin"};
};

TEST_F(CIniFileTest, ReadsStringsAndNumbersWithDefaults) {
  CIniFile ini(folder.writeIni("[Main]\r\nTitle = Orvane \r\nCount=42\r\nBad=x7\r\n"));
  EXPECT_EQ(ini.GetString("Main", "Title", "none"), "Orvane");
  EXPECT_EQ(ini.GetString("Main", "Missing", "none"), "none");
  EXPECT_EQ(ini.GetString("Nowhere", "Title", ""), "");
  EXPECT_EQ(ini.GetInt("Main", "Count"), 42);
  EXPECT_EQ(ini.GetInt("Main", "Bad"), 0);
  EXPECT_EQ(ini.GetInt("Main", "Missing"), 0);
}

TEST_F(CIniFileTest, MissingFileGivesDefaults) {
  CIniFile ini(folder.windowsPath("absent.ini"));
  EXPECT_EQ(ini.GetString("Main", "Title", "fallback"), "fallback");
  EXPECT_EQ(ini.GetInt("Main", "Count"), 0);
  CStringArray keys;
  EXPECT_FALSE(ini.GetSectionKeys("Main", keys));
}

TEST_F(CIniFileTest, LongValuesAreReadWholeUpTo2047Characters) {
  const std::string twoThousand(2000, 'a');
  const std::string threeThousand(3000, 'b');
  CIniFile ini(folder.writeIni("[S]\r\nA=" + twoThousand + "\r\nB=" + threeThousand + "\r\n"));
  EXPECT_EQ(std::string(ini.GetString("S", "A", "")), twoThousand);
  EXPECT_EQ(std::string(ini.GetString("S", "B", "")), std::string(2047, 'b'));
}

TEST_F(CIniFileTest, SectionKeysComeInFileOrderAndReplaceTheArray) {
  CIniFile ini(folder.writeIni("[Main-Buttons]\r\n1=A\r\n3=\r\n2=B\r\n[Empty]\r\n[Other]\r\nx=1\r\n"));
  CStringArray keys;
  keys.Add("stale");
  ASSERT_TRUE(ini.GetSectionKeys("main-buttons", keys));
  ASSERT_EQ(keys.GetSize(), 3);
  EXPECT_EQ(keys[0], "1");
  EXPECT_EQ(keys[1], "3");
  EXPECT_EQ(keys[2], "2");

  EXPECT_FALSE(ini.GetSectionKeys("Empty", keys));
  EXPECT_EQ(keys.GetSize(), 0);
}

TEST_F(CIniFileTest, AKeyListLongerThanTheBufferIsCutCleanly) {
  // 2000 keys of 10 characters need about 22000 bytes: more than the list buffer.
  std::string text = "[Big]\r\n";
  for (int i = 0; i < 2000; ++i) text += "key" + std::to_string(1000000 + i) + "=v\r\n";
  CIniFile ini(folder.writeIni(text));
  CStringArray keys;
  ASSERT_TRUE(ini.GetSectionKeys("Big", keys));
  EXPECT_GT(keys.GetSize(), 1000);
  EXPECT_LT(keys.GetSize(), 2000);
  EXPECT_EQ(keys[0], "key1000000");
  for (int i = 0; i < keys.GetSize(); ++i) {
    // Every name is whole except perhaps the last, which was cut by the buffer's end.
    if (i + 1 < keys.GetSize()) {
      EXPECT_EQ(keys[i].GetLength(), 10) << i;
    }
  }
}

}  // namespace
