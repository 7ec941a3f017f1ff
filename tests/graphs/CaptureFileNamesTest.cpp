// The next free capture name in a real folder of the machine's drive C:.
#include "graphs/CaptureFileNames.h"

#include <support/TestMachine.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class CaptureFileNamesTest : public test::MachineTest {
 protected:
  void SetUp() override { std::filesystem::create_directories(folderPath()); }

  std::filesystem::path folderPath() { return machine().paths().driveFolder('C') / "Captures"; }
  void touch(const std::string& name) { std::ofstream(folderPath() / name) << "x"; }
  void touchAll(const std::vector<std::string>& list) {
    for (const auto& name : list) touch(name);
  }
  std::string nextMpg() { return static_cast<LPCSTR>(NextCaptureFileName(kFolder, "*.mpg", ".mpg", names)); }

  static constexpr const char* kFolder = "C:\\Captures\\";
  CStringArray names;
};

TEST_F(CaptureFileNamesTest, AnEmptyFolderStartsTheSeries) {
  EXPECT_EQ(nextMpg(), "cap00.mpg");
  EXPECT_EQ(names.GetSize(), 0);
  EXPECT_EQ(std::string(NextCaptureFileName(kFolder, "*.bmp", ".bmp", names)), "cap00.bmp");
}

TEST_F(CaptureFileNamesTest, TheFirstFreeNumberIsTaken) {
  touchAll({"cap00.mpg", "cap01.mpg"});
  EXPECT_EQ(nextMpg(), "cap02.mpg");
  touch("cap03.mpg");
  EXPECT_EQ(nextMpg(), "cap02.mpg") << "a gap is filled first";

  std::filesystem::remove(folderPath() / "cap00.mpg");
  EXPECT_EQ(nextMpg(), "cap00.mpg");
}

TEST_F(CaptureFileNamesTest, OnlyOneNameAboveZeroLeavesZeroFree) {
  touch("cap01.mpg");
  EXPECT_EQ(nextMpg(), "cap00.mpg");
}

TEST_F(CaptureFileNamesTest, NumbersFromTenOnAreWrittenWithoutALeadingZero) {
  for (int k = 0; k <= 10; ++k) touch("cap" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".mpg");
  EXPECT_EQ(nextMpg(), "cap11.mpg");
  ASSERT_EQ(names.GetSize(), 11);
  EXPECT_EQ(std::string(names[0]), "cap00.mpg");
  EXPECT_EQ(std::string(names[10]), "cap10.mpg");
}

TEST_F(CaptureFileNamesTest, AFullSeriesGoesOnAfterItsLastNumber) {
  for (int k = 0; k < 100; ++k) touch("cap" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".mpg");
  EXPECT_EQ(nextMpg(), "cap100.mpg");
  touch("cap100.mpg");
  EXPECT_EQ(nextMpg(), "cap101.mpg");
}

TEST_F(CaptureFileNamesTest, FoldersAndOtherExtensionsTakeNoNumber) {
  std::filesystem::create_directory(folderPath() / "cap00.mpg");
  touchAll({"cap01.mpg", "cap00.bmp"});
  EXPECT_EQ(nextMpg(), "cap00.mpg");
  ASSERT_EQ(names.GetSize(), 1) << "only the file matching the pattern";
  EXPECT_EQ(std::string(names[0]), "cap01.mpg");
  EXPECT_EQ(std::string(NextCaptureFileName(kFolder, "*.bmp", ".bmp", names)), "cap01.bmp");
}

TEST_F(CaptureFileNamesTest, NamesOutsideTheSeriesTakeTheNumberTheyHold) {
  touchAll({"abc00.mpg", "xyz01.mpg", "CAP02.MPG"});
  EXPECT_EQ(nextMpg(), "cap03.mpg");
}

TEST_F(CaptureFileNamesTest, NamesWithoutANumberTakeNone) {
  touchAll({"cap.mpg", "capxx.mpg", "ab.mpg", "holiday.mpg"});
  EXPECT_EQ(nextMpg(), "cap00.mpg");
  EXPECT_EQ(names.GetSize(), 4);
}

TEST_F(CaptureFileNamesTest, SingleDigitsAreComparedAsTextAndLargerNumbersAlsoByValue) {
  // "cap0.mpg" holds "0", not "00"; "cap010.mpg" holds ten by value.
  touchAll({"cap0.mpg", "cap1.mpg"});
  EXPECT_EQ(nextMpg(), "cap00.mpg");
  for (int k = 0; k < 10; ++k) touch("cap0" + std::to_string(k) + ".mpg");
  touch("cap010.mpg");
  // Thirteen names, 00 to 10 taken.
  EXPECT_EQ(nextMpg(), "cap11.mpg");
}

TEST_F(CaptureFileNamesTest, AFolderThatCannotBeSearchedCountsAsEmpty) {
  touch("cap00.mpg");
  EXPECT_EQ(std::string(NextCaptureFileName("C:\\No Such Folder\\", "*.mpg", ".mpg", names)), "cap00.mpg");
  EXPECT_EQ(names.GetSize(), 0);
  EXPECT_EQ(std::string(NextCaptureFileName("Q:\\", "*.mpg", ".mpg", names)), "cap00.mpg");
}

}  // namespace
