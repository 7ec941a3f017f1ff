#include <support/TestMachine.h>

#include <win32/error.h>
#include <win32/profile.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class ProfileTest : public test::MachineTest {
 protected:
  // A file on drive C: with the given text; returns its Windows name.
  std::string writeIni(const std::string& text, const std::string& name = "test.ini") {
    std::ofstream(driveC() / name, std::ios::binary) << text;
    return "C:\\" + name;
  }
  fs::path driveC() { return machine().paths().driveFolder('C'); }
  static std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Reads a value through a buffer of `size` bytes, checking what the call returned.
  static std::string read(const char* section, const char* key, const char* fallback, DWORD size,
                          const std::string& file, DWORD* returned = nullptr) {
    std::string buffer(size + 1, '#');
    const DWORD count = GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, file.c_str());
    if (returned) *returned = count;
    return buffer.substr(0, size);
  }
};

TEST_F(ProfileTest, ValuesFollowWindowsParsingRules) {
  const std::string file = writeIni(
      "; comment\r\n"
      "top=outside any section\r\n"
      "[Main]\r\n"
      "  Name  =   spaced value   \r\n"
      "name=second\r\n"
      "Double=\"a b \"\r\n"
      "Single='x'\r\n"
      "Mismatched=\"y'\r\n"
      "Empty=\r\n"
      "Equals=a=b\r\n"
      "[Other]\r\n"
      "Name=other\r\n");
  char buffer[64];
  EXPECT_EQ(GetPrivateProfileStringA("MAIN", "NAME", "", buffer, sizeof buffer, file.c_str()), 12u);
  EXPECT_STREQ(buffer, "spaced value");  // first match wins, trimmed, without case
  GetPrivateProfileStringA("main", "double", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "a b ");
  GetPrivateProfileStringA("main", "single", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "x");
  GetPrivateProfileStringA("main", "mismatched", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "\"y'");
  GetPrivateProfileStringA("main", "equals", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "a=b");
  // A present but empty value is not the default.
  EXPECT_EQ(GetPrivateProfileStringA("main", "empty", "dflt", buffer, sizeof buffer, file.c_str()), 0u);
  EXPECT_STREQ(buffer, "");
  GetPrivateProfileStringA("other", "name", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "other");
  // Lines before the first section belong to no section.
  GetPrivateProfileStringA("", "top", "none", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "none");
}

TEST_F(ProfileTest, DefaultWhenFileSectionOrKeyIsMissing) {
  const std::string file = writeIni("[Main]\r\nKey=value\r\n");
  char buffer[32];
  EXPECT_EQ(GetPrivateProfileStringA("Main", "Absent", "fallback", buffer, sizeof buffer, file.c_str()), 8u);
  EXPECT_STREQ(buffer, "fallback");
  GetPrivateProfileStringA("Absent", "Key", "fallback", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "fallback");
  SetLastError(0);
  EXPECT_EQ(GetPrivateProfileStringA("Main", "Key", "gone", buffer, sizeof buffer, "C:\\missing.ini"), 4u);
  EXPECT_STREQ(buffer, "gone");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  // NULL default reads as "", and trailing blanks of a default are dropped.
  EXPECT_EQ(GetPrivateProfileStringA("Main", "Absent", nullptr, buffer, sizeof buffer, file.c_str()), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(GetPrivateProfileStringA("Main", "Absent", "pad  ", buffer, sizeof buffer, file.c_str()), 3u);
  EXPECT_STREQ(buffer, "pad");
}

TEST_F(ProfileTest, ValueTruncationKeepsSizeMinusOneCharacters) {
  const std::string file = writeIni("[S]\r\nK=abcdef\r\n");
  DWORD count = 0;
  EXPECT_EQ(read("S", "K", "", 7, file, &count), std::string("abcdef\0", 7));
  EXPECT_EQ(count, 6u);
  EXPECT_EQ(read("S", "K", "", 6, file, &count), std::string("abcde\0", 6));
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(read("S", "K", "", 3, file, &count), std::string("ab\0", 3));
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(read("S", "K", "", 1, file, &count), std::string("\0", 1));
  EXPECT_EQ(count, 0u);
  // The default is cut the same way.
  EXPECT_EQ(read("S", "none", "12345", 4, file, &count), std::string("123\0", 4));
  EXPECT_EQ(count, 3u);
  // A zero-sized buffer is left alone.
  EXPECT_EQ(read("S", "K", "", 0, file, &count), "");
  EXPECT_EQ(count, 0u);

  // A long skin value through the skin reader's 2048-byte buffer keeps 2047 characters.
  const std::string longValue(3000, 'v');
  const std::string longFile = writeIni("[Skin]\r\nBig=" + longValue + "\r\n", "long.ini");
  std::string buffer(2048, '#');
  EXPECT_EQ(GetPrivateProfileStringA("Skin", "Big", "", buffer.data(), 2048, longFile.c_str()), 2047u);
  EXPECT_EQ(std::string(buffer.c_str()), longValue.substr(0, 2047));
}

TEST_F(ProfileTest, KeyAndSectionListsAreDoubleNulTerminated) {
  const std::string file = writeIni(
      "[One]\r\nalpha=1\r\n; note\r\nBeta=2\r\nALPHA=3\r\n\r\n[Two]\r\n[one]\r\ngamma=4\r\n[Empty]\r\n");
  DWORD count = 0;
  // Keys in file order, each once in its first spelling; only the first [One] counts.
  EXPECT_EQ(read("one", nullptr, "ignored", 32, file, &count).substr(0, 13), std::string("alpha\0Beta\0\0", 12) + '#');
  EXPECT_EQ(count, 11u);
  EXPECT_EQ(read(nullptr, nullptr, "", 32, file, &count).substr(0, 16),
            std::string("One\0Two\0Empty\0\0", 15) + '#');
  EXPECT_EQ(count, 14u);
  char names[32];
  EXPECT_EQ(GetPrivateProfileSectionNamesA(names, sizeof names, file.c_str()), 14u);
  EXPECT_EQ(std::string(names, 15), std::string("One\0Two\0Empty\0\0", 15));

  // An empty or missing section gives an empty list, never the default.
  EXPECT_EQ(read("Empty", nullptr, "dflt", 8, file, &count).substr(0, 2), std::string("\0\0", 2));
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(read("Absent", nullptr, "dflt", 8, file, &count).substr(0, 2), std::string("\0\0", 2));
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(read(nullptr, nullptr, "dflt", 8, "C:\\missing.ini", &count).substr(0, 2), std::string("\0\0", 2));
  EXPECT_EQ(count, 0u);
}

TEST_F(ProfileTest, TruncatedListsEndInTwoNulsAndReturnSizeMinusTwo) {
  const std::string file = writeIni("[S]\r\none=1\r\ntwo=2\r\n");  // list "one\0two\0\0": 9 bytes
  DWORD count = 0;
  EXPECT_EQ(read("S", nullptr, "", 9, file, &count), std::string("one\0two\0\0", 9));
  EXPECT_EQ(count, 8u);
  EXPECT_EQ(read("S", nullptr, "", 8, file, &count), std::string("one\0tw\0\0", 8));
  EXPECT_EQ(count, 6u);
  EXPECT_EQ(read("S", nullptr, "", 5, file, &count), std::string("one\0\0", 5));
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(read("S", nullptr, "", 2, file, &count), std::string("\0\0", 2));
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(read("S", nullptr, "", 1, file, &count), std::string("\0", 1));
  EXPECT_EQ(count, 0u);
}

TEST_F(ProfileTest, IntegersReadAsWindowsConvertsThem) {
  const std::string file = writeIni(
      "[N]\r\nplain=42\r\nnegative=  -7 \r\ntrailing=12px\r\nword=abc\r\nempty=\r\nhex=0x1F\r\nquoted=\"5\"\r\n"
      "plus=+8\r\n");
  const char* name = file.c_str();
  EXPECT_EQ(GetPrivateProfileIntA("N", "plain", -1, name), 42u);
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("N", "negative", 0, name)), -7);
  EXPECT_EQ(GetPrivateProfileIntA("N", "trailing", -1, name), 12u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "word", 9, name), 0u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "empty", 9, name), 9u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "hex", 0, name), 31u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "quoted", 0, name), 5u);
  EXPECT_EQ(GetPrivateProfileIntA("N", "plus", 0, name), 8u);
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("N", "absent", -3, name)), -3);
  EXPECT_EQ(GetPrivateProfileIntA("N", "plain", 6, "C:\\missing.ini"), 6u);
}

TEST_F(ProfileTest, WritingCreatesFileAndSectionAndNullsDelete) {
  const fs::path file = driveC() / "new.ini";
  ASSERT_TRUE(WritePrivateProfileStringA("Main", "Key", "value", "C:\\new.ini"));
  EXPECT_EQ(readFile(file), "[Main]\r\nKey=value\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("main", "KEY", "changed", "C:\\new.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Main", "Second", "2", "C:\\new.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Other", "Key", "x", "C:\\new.ini"));
  char buffer[32];
  GetPrivateProfileStringA("Main", "key", "", buffer, sizeof buffer, "C:\\new.ini");
  EXPECT_STREQ(buffer, "changed");

  ASSERT_TRUE(WritePrivateProfileStringA("Main", "key", nullptr, "C:\\new.ini"));
  EXPECT_EQ(GetPrivateProfileStringA("Main", "key", "gone", buffer, sizeof buffer, "C:\\new.ini"), 4u);
  EXPECT_EQ(GetPrivateProfileIntA("Main", "Second", 0, "C:\\new.ini"), 2u);

  ASSERT_TRUE(WritePrivateProfileStringA("MAIN", nullptr, nullptr, "C:\\new.ini"));
  EXPECT_EQ(GetPrivateProfileIntA("Main", "Second", 0, "C:\\new.ini"), 0u);
  EXPECT_EQ(readFile(file), "[Other]\r\nKey=x\r\n");

  // Deleting from a file that does not exist does not create it.
  EXPECT_TRUE(WritePrivateProfileStringA("S", "K", nullptr, "C:\\never.ini"));
  EXPECT_TRUE(WritePrivateProfileStringA("S", nullptr, nullptr, "C:\\never.ini"));
  EXPECT_FALSE(fs::exists(driveC() / "never.ini"));
}

TEST_F(ProfileTest, WritingIntoAMissingFolderFails) {
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "v", "C:\\No Such Folder\\x.ini"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "K", "v", "C:\\x.ini"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ProfileTest, BareNamesLiveInTheWindowsFolder) {
  ASSERT_TRUE(WritePrivateProfileStringA("App", "Setting", "on", "orvane.ini"));
  EXPECT_TRUE(fs::exists(driveC() / "WINDOWS" / "orvane.ini"));
  char buffer[16];
  GetPrivateProfileStringA("App", "Setting", "", buffer, sizeof buffer, "C:\\Windows\\ORVANE.INI");
  EXPECT_STREQ(buffer, "on");
  // No file name at all means win.ini.
  ASSERT_TRUE(WritePrivateProfileStringA("Desktop", "Wallpaper", "none", nullptr));
  GetPrivateProfileStringA("Desktop", "Wallpaper", "", buffer, sizeof buffer, "win.ini");
  EXPECT_STREQ(buffer, "none");
}

TEST_F(ProfileTest, ChangesMadeOnDiskAreSeenAtOnce) {
  const std::string file = writeIni("[S]\r\nK=first\r\n");
  char buffer[16];
  GetPrivateProfileStringA("S", "K", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "first");
  writeIni("[S]\r\nK=second\r\n");
  GetPrivateProfileStringA("S", "K", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "second");
}

}  // namespace
