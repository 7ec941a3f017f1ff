// The skin generator as the build runs it: the same description draws the same bytes
// every time, and the build's program folder holds exactly what the description draws;
// a broken description stops the build with the line at fault.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class SkinGeneratorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("skingen-test-" + std::to_string(::getpid()));
    fs::remove_all(m_root);
    fs::create_directories(m_root);
  }
  void TearDown() override { fs::remove_all(m_root); }

  // Runs the generator into <root>/<name>; its exit code.
  int run(const std::string& name, const fs::path& description) {
    const fs::path out = m_root / name;
    const std::string command = std::string("'") + ORVANE_SKINGEN + "' '" + description.string() + "' '" +
                                (out / "program").string() + "' '" + (out / "art" / "art.rc").string() + "' 2> '" +
                                (out.string() + ".err") + "'";
    fs::create_directories(out);
    return std::system(command.c_str());
  }

  std::string errors(const std::string& name) {
    std::ifstream in(m_root / (name + ".err"));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Every file under a folder with its bytes, by relative path.
  static std::map<std::string, std::string> files(const fs::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream bytes;
      bytes << in.rdbuf();
      out[fs::relative(entry.path(), folder).string()] = bytes.str();
    }
    return out;
  }

  fs::path m_root;
};

TEST_F(SkinGeneratorTest, DrawsTheSameBytesEveryTimeAndWhatTheBuildInstalled) {
  ASSERT_EQ(run("first", ORVANE_SKIN_DESCRIPTION), 0) << errors("first");
  ASSERT_EQ(run("second", ORVANE_SKIN_DESCRIPTION), 0) << errors("second");
  const auto first = files(m_root / "first");
  const auto second = files(m_root / "second");
  EXPECT_GT(first.size(), 70u);
  EXPECT_EQ(first, second);

  // No ".new" file is left behind by the whole-file writes.
  for (const auto& [name, bytes] : first) EXPECT_FALSE(name.ends_with(".new")) << name;

  // The program folder's skins and the program's pictures are this drawing.
  const auto built = files(ORVANE_PROGRAM_DIR);
  for (const auto& [name, bytes] : files(m_root / "first" / "program")) {
    ASSERT_TRUE(built.count(name)) << name;
    EXPECT_TRUE(built.at(name) == bytes) << name;
  }
  const auto builtArt = files(fs::path(ORVANE_ART_RC).parent_path());
  for (const auto& [name, bytes] : files(m_root / "first" / "art")) {
    const std::string installed = name == "art.rc" ? "OrvaneMediaArt.rc" : name;
    ASSERT_TRUE(builtArt.count(installed)) << name;
    EXPECT_TRUE(builtArt.at(installed) == bytes) << name;
  }
}

TEST_F(SkinGeneratorTest, ABrokenDescriptionStopsAtTheLineAtFault) {
  const fs::path description = m_root / "broken.def";
  std::ofstream(description) << "# comment\n"
                                "window tv \"Skin\\\\TV\" \"Television\"\n"
                                "  button CLOSE_BUTTON caption close \"Close\" 968 20 968 56\n"
                                "end\n";
  EXPECT_NE(run("broken", description), 0);
  EXPECT_NE(errors("broken").find("broken.def:3: empty rectangle"), std::string::npos) << errors("broken");

  std::ofstream(description, std::ios::trunc) << "bitmap 144 sparkle 10 10\n";
  EXPECT_NE(run("unknown", description), 0);
  EXPECT_NE(errors("unknown").find("sparkle"), std::string::npos) << errors("unknown");

  std::ofstream(description, std::ios::trunc) << "bar \"skins\\\\x\" 100 50\n";
  EXPECT_NE(run("open", description), 0);
  EXPECT_NE(errors("open").find("lacks its 'end'"), std::string::npos) << errors("open");
}

}  // namespace
