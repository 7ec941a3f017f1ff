// A picture a test leaves without saying where (a failed test's screen dump) lands under the
// build folder, never in the working folder, which may be the sources' root.
#include <robot/Screenshot.h>
#include <support/TestMachine.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

TEST(TestPictureTest, AScreenDumpWithoutAFolderGoesUnderTheBuild) {
  ::unsetenv("ORVANE_SCREENSHOT_DIR");
  test::TestMachine machine;
  const std::filesystem::path file = plat::Screenshot::dump("TestPictureTest");
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(std::filesystem::canonical(file.parent_path()),
            std::filesystem::canonical(std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "screenshots"));
  std::filesystem::remove(file);
}

// Whatever ran before, the sources' root holds no picture: a picture there is one a test or
// a program under test left in its working folder.
TEST(TestPictureTest, TheSourcesRootHoldsNoPictures) {
  for (const auto& entry : std::filesystem::directory_iterator(ORVANE_SOURCE_DIR)) {
    const std::string extension = entry.path().extension().string();
    EXPECT_TRUE(extension != ".png" && extension != ".bmp") << entry.path();
  }
}

}  // namespace
