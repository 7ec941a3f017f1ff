// A picture a test leaves without saying where (a failed test's screen dump) lands under the
// build folder, never in the working folder, which may be the sources' root.
#include <robot/Screenshot.h>
#include <support/TestMachine.h>

#include <cstdlib>
#include <filesystem>

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

}  // namespace
