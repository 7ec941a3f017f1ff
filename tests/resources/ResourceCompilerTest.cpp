// The resource compiler with a module's resources in two files, as the program's drawn
// pictures come: the second file's resources join the first's, and an id of one kind
// taken in both files stops the build.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class ResourceCompilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() / ("orvane-rc-test-" + std::to_string(::getpid()));
    fs::create_directories(m_folder);
    std::ofstream(m_folder / "one.bmp", std::ios::binary) << "BM-not-looked-at";
    std::ofstream(m_folder / "main.rc") << "string 1 \"First\"\nbitmap 144 \"one.bmp\"\n";
  }
  void TearDown() override { fs::remove_all(m_folder); }

  int compile(const std::string& more) {
    std::ofstream(m_folder / "more.rc") << more;
    const std::string command = std::string("'") + ORVANE_RC + "' '" + (m_folder / "main.rc").string() + "' '" +
                                (m_folder / "out.cpp").string() + "' '" + (m_folder / "out.d").string() + "' '" +
                                (m_folder / "more.rc").string() + "' 2> '" + (m_folder / "errors").string() + "'";
    return std::system(command.c_str());
  }

  std::string read(const char* file) const {
    std::ifstream in(m_folder / file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path m_folder;
};

TEST_F(ResourceCompilerTest, ASecondFileAddsToTheModule) {
  ASSERT_EQ(compile("bitmap 145 \"one.bmp\"\nicon 144 \"one.bmp\"\n"), 0) << read("errors");
  const std::string source = read("out.cpp");
  EXPECT_NE(source.find("{144, kBitmap144"), std::string::npos);
  EXPECT_NE(source.find("{145, kBitmap145"), std::string::npos);
  EXPECT_NE(source.find("{144, kIcon144"), std::string::npos) << "ids are unique per kind only";
  EXPECT_NE(read("out.d").find("more.rc"), std::string::npos) << "a change to either file rebuilds";
}

TEST_F(ResourceCompilerTest, AnIdTakenInBothFilesIsRefused) {
  EXPECT_NE(compile("bitmap 144 \"one.bmp\"\n"), 0);
  EXPECT_NE(read("errors").find("a second bitmap 144"), std::string::npos) << read("errors");
  EXPECT_NE(compile("string 1 \"Again\"\n"), 0);
  EXPECT_NE(read("errors").find("a second string 1"), std::string::npos) << read("errors");
}

}  // namespace
