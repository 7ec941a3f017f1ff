// Directory searches as Windows' file systems answer them: wildcards without case, sorted
// entries, "." and ".." outside drive roots, directories and dot-files flagged.
#include <support/TestMachine.h>

#include <win32/error.h>
#include <win32/file.h>
#include <win32/handleapi.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class FindFileTest : public test::MachineTest {
 protected:
  void SetUp() override {
    videos = machine().paths().driveFolder('C') / "Videos";
    fs::create_directories(videos / "Sub");
    for (const char* name : {"cap01.MPG", "Cap02.mpg", "notes.txt", ".hidden.mpg"})
      std::ofstream(videos / name) << name;
  }

  // Every entry a search yields, as "name" or "name/" for directories.
  static std::vector<std::string> find(const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern, &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(std::string(data.cFileName) + (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? "/" : ""));
    while (FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    return names;
  }

  fs::path videos;
};

using Names = std::vector<std::string>;

TEST_F(FindFileTest, WildcardsMatchWithoutCaseInSortedOrder) {
  EXPECT_EQ(find("C:\\Videos\\*.mpg"), (Names{".hidden.mpg", "cap01.MPG", "Cap02.mpg"}));
  EXPECT_EQ(find("c:\\videos\\CAP0?.mpg"), (Names{"cap01.MPG", "Cap02.mpg"}));
  EXPECT_EQ(find("C:\\Videos\\*a*0*"), (Names{"cap01.MPG", "Cap02.mpg"}));
  EXPECT_EQ(find("C:\\Videos\\*.*"),
            (Names{"./", "../", ".hidden.mpg", "cap01.MPG", "Cap02.mpg", "notes.txt", "Sub/"}));
  EXPECT_EQ(find("C:\\Videos\\*"), find("C:\\Videos\\*.*"));
  // Naming one entry finds it under its real spelling: how programs test for a file or folder.
  EXPECT_EQ(find("C:\\VIDEOS\\NOTES.TXT"), (Names{"notes.txt"}));
  EXPECT_EQ(find("C:\\videos\\sub"), (Names{"Sub/"}));
  // A drive root has no "." or "..".
  EXPECT_EQ(find("C:\\*"), (Names{"My Documents/", "Temp/", "Videos/"}));
}

TEST_F(FindFileTest, EntriesCarryAttributesSizesAndTimes) {
  constexpr std::int64_t kUnixSeconds = 1709294400;  // 2024-03-01 12:00:00 UTC
  const timespec times[2] = {{kUnixSeconds, 0}, {kUnixSeconds, 500}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (videos / "notes.txt").c_str(), times, 0), 0);

  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA("C:\\Videos\\notes.txt", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(data.nFileSizeLow, 9u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  const ULONGLONG written = (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  EXPECT_EQ(written, (kUnixSeconds + 11644473600ULL) * 10000000ULL + 5);  // 100 ns units since 1601
  EXPECT_EQ(data.cAlternateFileName[0], '\0');

  search = FindFirstFileA("C:\\Videos\\.h*", &data);
  FindClose(search);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  search = FindFirstFileA("C:\\Videos\\..", &data);
  FindClose(search);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);  // never hidden
}

TEST_F(FindFileTest, FailedSearchesSayWhy) {
  WIN32_FIND_DATAA data;
  EXPECT_EQ(FindFirstFileA("C:\\Videos\\*.avi", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFileA("C:\\Videos\\", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFileA("C:\\Missing\\*.*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(FindFirstFileA("Q:\\*.*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));

  HANDLE search = FindFirstFileA("C:\\Videos\\notes.txt", &data);
  EXPECT_FALSE(FindNextFileA(search, &data));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(search));
  EXPECT_FALSE(FindClose(search));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST_F(FindFileTest, ANameWithoutWildcardsFindsItsOneEntryInAnyCase) {
  EXPECT_EQ(find("C:\\Videos\\Cap02.mpg"), std::vector<std::string>{"Cap02.mpg"});
  EXPECT_EQ(find("C:\\Videos\\CAP01.mpg"), std::vector<std::string>{"cap01.MPG"}) << "the name on the disk";
  EXPECT_EQ(find("C:\\Videos\\sub"), std::vector<std::string>{"Sub/"});
  EXPECT_TRUE(find("C:\\Videos\\cap03.mpg").empty());
}

}  // namespace
