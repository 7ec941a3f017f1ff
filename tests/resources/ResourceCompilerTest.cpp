// The resource compiler with a module's resources in two files, as the program's drawn
// pictures come: the second file's resources join the first's, and an id of one kind
// taken in both files stops the build.
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using test::ToolRun;

class ResourceCompilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(tool.folder() / "one.bmp", std::ios::binary) << "BM-not-looked-at";
    std::ofstream(tool.folder() / "main.rc") << "string 1 \"First\"\nbitmap 144 \"one.bmp\"\n";
  }

  int compile(const std::string& more) {
    std::ofstream(tool.folder() / "more.rc") << more;
    const auto path = [this](const char* file) { return (tool.folder() / file).string(); };
    return tool.run(ORVANE_RC, {path("main.rc"), path("out.cpp"), path("out.d"), path("more.rc")});
  }
  std::string read(const char* file) const { return ToolRun::read(tool.folder() / file); }

  ToolRun tool{"orvane-rc-test"};
};

TEST_F(ResourceCompilerTest, ASecondFileAddsToTheModule) {
  ASSERT_EQ(compile("bitmap 145 \"one.bmp\"\nicon 144 \"one.bmp\"\n"), 0) << tool.errors();
  const std::string source = read("out.cpp");
  EXPECT_NE(source.find("{144, kBitmap144"), std::string::npos);
  EXPECT_NE(source.find("{145, kBitmap145"), std::string::npos);
  EXPECT_NE(source.find("{144, kIcon144"), std::string::npos) << "ids are unique per kind only";
  EXPECT_NE(read("out.d").find("more.rc"), std::string::npos) << "a change to either file rebuilds";
}

TEST_F(ResourceCompilerTest, AnIdTakenInBothFilesIsRefused) {
  EXPECT_NE(compile("bitmap 144 \"one.bmp\"\n"), 0);
  EXPECT_NE(tool.errors().find("a second bitmap 144"), std::string::npos) << tool.errors();
  EXPECT_NE(compile("string 1 \"Again\"\n"), 0);
  EXPECT_NE(tool.errors().find("a second string 1"), std::string::npos) << tool.errors();
}

}  // namespace
