// Files through Windows paths: creation dispositions and their last errors, one shared
// position for reads, writes and seeks, access rights, and the folder operations.
#include <support/TestMachine.h>

#include <win32/error.h>
#include <win32/file.h>
#include <win32/handleapi.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class FileTest : public test::MachineTest {
 protected:
  fs::path temp() { return machine().paths().driveFolder('C') / "Temp"; }

  static HANDLE open(const char* name, DWORD access, DWORD disposition) {
    return CreateFileA(name, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  static void put(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
  static std::string get(const fs::path& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
  }
  static std::string read(HANDLE file, DWORD size) {
    std::string buffer(size, '\0');
    DWORD done = 0;
    EXPECT_TRUE(ReadFile(file, buffer.data(), size, &done, nullptr));
    buffer.resize(done);
    return buffer;
  }
  static void write(HANDLE file, const std::string& text) {
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr));
    EXPECT_EQ(done, text.size());
  }
};

TEST_F(FileTest, CreationDispositionsAndTheirLastErrors) {
  const char* name = "C:\\Temp\\new.dat";
  SetLastError(ERROR_INVALID_DATA);
  EXPECT_EQ(open(name, GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(open("C:\\Missing\\new.dat", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));

  HANDLE file = open(name, GENERIC_WRITE, CREATE_NEW);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
  write(file, "content");
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(open(name, GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_EXISTS));

  file = open(name, GENERIC_READ, OPEN_ALWAYS);  // keeps the content
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(read(file, 100), "content");
  CloseHandle(file);
  file = open("C:\\Temp\\other.dat", GENERIC_READ, OPEN_ALWAYS);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
  CloseHandle(file);

  file = open(name, GENERIC_WRITE, CREATE_ALWAYS);  // succeeds, but empties the file
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  CloseHandle(file);
  EXPECT_EQ(fs::file_size(temp() / "new.dat"), 0u);

  put(temp() / "new.dat", "again");
  EXPECT_EQ(open(name, GENERIC_READ, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);  // needs write access
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  CloseHandle(open(name, GENERIC_WRITE, TRUNCATE_EXISTING));
  EXPECT_EQ(fs::file_size(temp() / "new.dat"), 0u);
  EXPECT_EQ(open("C:\\Temp\\none.dat", GENERIC_WRITE, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));

  EXPECT_EQ(open("C:\\Temp", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  EXPECT_EQ(open(name, GENERIC_READ, 9), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(FileTest, ReadsWritesAndSeeksShareOnePosition) {
  HANDLE file = open("c:\\TEMP\\Data.bin", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  write(file, "hello world");
  EXPECT_EQ(get(temp() / "Data.bin"), "hello world");  // a real file, under its own spelling

  EXPECT_EQ(SetFilePointer(file, 6, nullptr, FILE_BEGIN), 6u);
  EXPECT_EQ(read(file, 5), "world");
  EXPECT_EQ(read(file, 5), "");  // at the end: success, nothing read
  EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_END), 6u);
  EXPECT_EQ(SetFilePointer(file, -1, nullptr, FILE_CURRENT), 5u);

  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(SetFilePointer(file, -6, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_NEGATIVE_SEEK));
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 5u);  // not moved

  EXPECT_EQ(SetFilePointer(file, 13, nullptr, FILE_BEGIN), 13u);  // past the end: writing fills the gap
  write(file, "!");
  EXPECT_EQ(get(temp() / "Data.bin"), std::string("hello world\0\0!", 14));

  LARGE_INTEGER to{};
  to.QuadPart = 5;
  LARGE_INTEGER now{};
  EXPECT_TRUE(SetFilePointerEx(file, to, &now, FILE_BEGIN));
  EXPECT_EQ(now.QuadPart, 5);
  EXPECT_TRUE(SetEndOfFile(file));
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(file, &high), 5u);
  EXPECT_EQ(high, 0u);
  EXPECT_TRUE(FlushFileBuffers(file));
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(get(temp() / "Data.bin"), "hello");
}

TEST_F(FileTest, PositionsBeyondFourGigabytesNeedTheHighPart) {
  HANDLE file = open("C:\\Temp\\big.bin", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LONG high = 1;
  EXPECT_EQ(SetFilePointer(file, 16, &high, FILE_BEGIN), 16u);
  EXPECT_EQ(high, 1);
  EXPECT_TRUE(SetEndOfFile(file));  // a sparse file of 4 GiB + 16 bytes
  DWORD sizeHigh = 0;
  EXPECT_EQ(GetFileSize(file, &sizeHigh), 16u);
  EXPECT_EQ(sizeHigh, 1u);
  LARGE_INTEGER size{};
  EXPECT_TRUE(GetFileSizeEx(file, &size));
  EXPECT_EQ(size.QuadPart, 0x100000010LL);

  // A 32-bit caller cannot be told the new position: the call fails and the file stays put.
  EXPECT_EQ(SetFilePointer(file, 100, nullptr, FILE_BEGIN), 100u);
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 100u);
  CloseHandle(file);
}

TEST_F(FileTest, AccessRightsAndHandlesAreChecked) {
  put(temp() / "a.txt", "abc");
  HANDLE reader = open("C:\\Temp\\a.txt", GENERIC_READ, OPEN_EXISTING);
  DWORD done = 9;
  EXPECT_FALSE(WriteFile(reader, "x", 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  EXPECT_EQ(done, 0u);
  EXPECT_FALSE(SetEndOfFile(reader));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  HANDLE writer = open("C:\\Temp\\a.txt", GENERIC_WRITE, OPEN_EXISTING);
  char byte;
  EXPECT_FALSE(ReadFile(writer, &byte, 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));

  EXPECT_FALSE(FindClose(reader));  // not a search
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(CloseHandle(reader));
  EXPECT_FALSE(CloseHandle(reader));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(ReadFile(reader, &byte, 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GetFileSize(reader, nullptr), INVALID_FILE_SIZE);
  EXPECT_TRUE(CloseHandle(writer));
  EXPECT_TRUE(CloseHandle(reinterpret_cast<HANDLE>(-1)));  // the current process
}

TEST_F(FileTest, FolderOperationsAndAttributes) {
  EXPECT_TRUE(CreateDirectoryA("C:\\Videos", nullptr));
  EXPECT_FALSE(CreateDirectoryA("c:\\videos", nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectoryA("C:\\A\\B", nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));

  put(temp() / "clip.mpg", "1234");
  put(temp() / ".secret", "");
  EXPECT_EQ(GetFileAttributesA("C:\\VIDEOS"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("C:\\Videos\\"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("C:\\Temp\\CLIP.MPG"), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(GetFileAttributesA("C:\\Temp\\.secret"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(GetFileAttributesA("C:\\Temp\\none"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetFileAttributesA("C:\\None\\none"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));

  EXPECT_FALSE(DeleteFileA("C:\\Videos"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(DeleteFileA("C:\\Temp\\.SECRET"));
  EXPECT_FALSE(DeleteFileA("C:\\Temp\\.secret"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));

  put(machine().paths().driveFolder('C') / "Videos" / "keep.mpg", "");
  EXPECT_FALSE(RemoveDirectoryA("C:\\Videos"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_DIR_NOT_EMPTY));
  EXPECT_FALSE(RemoveDirectoryA("C:\\Temp\\clip.mpg"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_DIRECTORY));
  EXPECT_TRUE(DeleteFileA("C:\\Videos\\keep.mpg"));
  EXPECT_TRUE(RemoveDirectoryA("C:\\videos"));
  EXPECT_FALSE(RemoveDirectoryA("C:\\Videos"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileTest, MoveRenamesButNeverReplaces) {
  put(temp() / "clip.mpg", "clip");
  put(temp() / "other.mpg", "other");
  EXPECT_FALSE(MoveFileA("C:\\Temp\\clip.mpg", "C:\\Temp\\OTHER.mpg"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(get(temp() / "other.mpg"), "other");

  EXPECT_TRUE(MoveFileA("C:\\Temp\\clip.mpg", "C:\\Temp\\Clip.MPG"));  // a change of case
  EXPECT_TRUE(fs::exists(temp() / "Clip.MPG"));
  EXPECT_FALSE(fs::exists(temp() / "clip.mpg"));
  EXPECT_TRUE(MoveFileA("C:\\Temp\\clip.mpg", "C:\\renamed.mpg"));
  EXPECT_EQ(get(machine().paths().driveFolder('C') / "renamed.mpg"), "clip");

  EXPECT_FALSE(MoveFileA("C:\\Temp\\clip.mpg", "C:\\x.mpg"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(MoveFileA("C:\\Temp\\other.mpg", "C:\\No\\x.mpg"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileTest, MoveToAnotherFileSystemCopies) {
  const fs::path shm = "/dev/shm";
  struct stat here {}, there {};
  if (::stat(temp().c_str(), &here) != 0 || ::stat(shm.c_str(), &there) != 0 || here.st_dev == there.st_dev)
    GTEST_SKIP() << "no second file system";
  const fs::path target = shm / ("orvane-move-" + std::to_string(::getpid()));
  put(temp() / "clip.mpg", "clip");
  EXPECT_TRUE(MoveFileA("C:\\Temp\\clip.mpg", machine().paths().toWindows(target).c_str()));
  EXPECT_EQ(get(target), "clip");
  EXPECT_FALSE(fs::exists(temp() / "clip.mpg"));
  fs::remove(target);
}

TEST_F(FileTest, CopyKeepsTheDateAndCanRefuseToReplace) {
  put(temp() / "a.txt", "first");
  put(temp() / "b.txt", "second");
  const auto date = fs::last_write_time(temp() / "a.txt") - std::chrono::hours(48);
  fs::last_write_time(temp() / "a.txt", date);

  EXPECT_FALSE(CopyFileA("C:\\Temp\\a.txt", "C:\\Temp\\B.TXT", TRUE));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_EXISTS));
  EXPECT_EQ(get(temp() / "b.txt"), "second");
  EXPECT_TRUE(CopyFileA("C:\\Temp\\a.txt", "C:\\Temp\\B.TXT", FALSE));
  EXPECT_EQ(get(temp() / "b.txt"), "first");
  EXPECT_TRUE(CopyFileA("C:\\Temp\\a.txt", "C:\\c.txt", TRUE));
  EXPECT_EQ(fs::last_write_time(machine().paths().driveFolder('C') / "c.txt"), date);

  EXPECT_FALSE(CopyFileA("C:\\Temp\\none.txt", "C:\\d.txt", FALSE));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(CopyFileA("C:\\Temp\\a.txt", "C:\\Temp\\a.txt", FALSE));
  EXPECT_EQ(get(temp() / "a.txt"), "first");
}

}  // namespace
