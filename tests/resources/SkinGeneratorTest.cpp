// The skin generator as the build runs it: the same description draws the same bytes
// every time, and the build's program folder holds exactly what the description draws;
// a broken description stops the build with the line at fault.
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;
using test::ToolRun;

class SkinGeneratorTest : public ::testing::Test {
 protected:
  // Draws `description` into <folder>/<name>; the generator's exit code.
  int draw(const std::string& name, const fs::path& description) {
    const fs::path out = tool.folder() / name;
    return tool.run(ORVANE_SKINGEN,
                    {description.string(), (out / "program").string(), (out / "art" / "art.rc").string()});
  }

  ToolRun tool{"skingen-test"};
};

TEST_F(SkinGeneratorTest, DrawsTheSameBytesEveryTimeAndWhatTheBuildInstalled) {
  ASSERT_EQ(draw("first", ORVANE_SKIN_DESCRIPTION), 0) << tool.errors();
  ASSERT_EQ(draw("second", ORVANE_SKIN_DESCRIPTION), 0) << tool.errors();
  const auto first = ToolRun::files(tool.folder() / "first");
  const auto second = ToolRun::files(tool.folder() / "second");
  EXPECT_GT(first.size(), 70u);
  EXPECT_EQ(first, second);

  // No ".new" file is left behind by the whole-file writes.
  for (const auto& [name, bytes] : first) EXPECT_FALSE(name.ends_with(".new")) << name;

  // The program folder's skins and the program's pictures are this drawing.
  const auto built = ToolRun::files(ORVANE_PROGRAM_DIR);
  for (const auto& [name, bytes] : ToolRun::files(tool.folder() / "first" / "program")) {
    ASSERT_TRUE(built.count(name)) << name;
    EXPECT_TRUE(built.at(name) == bytes) << name;
  }
  const auto builtArt = ToolRun::files(fs::path(ORVANE_ART_RC).parent_path());
  for (const auto& [name, bytes] : ToolRun::files(tool.folder() / "first" / "art")) {
    const std::string installed = name == "art.rc" ? "OrvaneMediaArt.rc" : name;
    ASSERT_TRUE(builtArt.count(installed)) << name;
    EXPECT_TRUE(builtArt.at(installed) == bytes) << name;
  }
}

TEST_F(SkinGeneratorTest, ABrokenDescriptionStopsAtTheLineAtFault) {
  const fs::path description = tool.folder() / "broken.def";
  std::ofstream(description) << "# comment\n"
                                "window tv \"Skin\\\\TV\" \"Television\"\n"
                                "  button CLOSE_BUTTON caption close \"Close\" 968 20 968 56\n"
                                "end\n";
  EXPECT_NE(draw("broken", description), 0);
  EXPECT_NE(tool.errors().find("broken.def:3: empty rectangle"), std::string::npos) << tool.errors();

  std::ofstream(description, std::ios::trunc) << "bitmap 144 sparkle 10 10\n";
  EXPECT_NE(draw("unknown", description), 0);
  EXPECT_NE(tool.errors().find("sparkle"), std::string::npos) << tool.errors();

  std::ofstream(description, std::ios::trunc) << "bar \"skins\\\\x\" 100 50\n";
  EXPECT_NE(draw("open", description), 0);
  EXPECT_NE(tool.errors().find("lacks its 'end'"), std::string::npos) << tool.errors();
}

}  // namespace
