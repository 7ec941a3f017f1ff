// The program's own bitmaps and icons: every id the windows and controls load is among
// the program's resources, as a real picture of the size and key colours its users
// expect. The ids come from the program's sources (constants and literal ids handed to
// the loaders) and from the list of what the windows load.
#include "BuiltSkin.h"

#include <support/TestMachine.h>

#include <win32/gdi.h>
#include <win32/gdi/IconTable.h>
#include <win32/module.h>
#include <win32/user/ResourceTable.h>
#include <win32/user.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cmath>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

struct Expected {
  int width, height;
  // Key colour at (0, 0) for pictures drawn through a mask, CLR_INVALID for opaque ones.
  COLORREF corner;
};

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kAny = CLR_INVALID;

// Bitmaps the windows and controls load, with the sizes they are drawn at.
const std::map<int, Expected> kBitmaps = {
    {142, {55, 19, kAny}},      // channel list cell frame, cut at (0, 0, 55, 19)
    {143, {273, 26, kAny}},     // combo box pictures, cut up to (0, 0, 273, 26)
    {184, {273, 26, RGB(255, 255, 255)}},  // arrows on white, the arrow's shape
    {185, {273, 26, kAny}},
    {144, {2000, 10, kMagenta}},  // skin slider channel, transparent by magenta
    {145, {10, 10, RGB(0, 0, 0)}},  // its thumb, transparent by its top-left pixel
    {148, {300, 14, kAny}},       // editor position bars, opaque
    {149, {300, 14, kAny}},
    {150, {24, 14, kMagenta}},    // their thumbs, transparent by the top-left pixel
    {151, {24, 14, kMagenta}},
    {152, {158, 110, kAny}},      // the channel wall's stand-in picture
    {163, {2000, 12, kMagenta}},  // picture settings slider channel and thumb
    {164, {12, 12, kMagenta}},
    {165, {0, 0, kAny}},          // text panel, stretched: any size
    {186, {0, 28, kAny}},         // the video window's button band, 28 high
};
const std::set<int> kIcons = {128, 157, 158, 166};

// Ids the sources hand to the resource loaders: constants "kName = 123" used in a
// LoadBitmapA, LoadIconA or LoadImageA call in the same file, literal MAKEINTRESOURCE
// ids in such calls, and literal ids given to the sliders' picture setters.
std::set<int> IdsLoadedBySources() {
  std::set<int> ids;
  const std::regex constant(R"((k\w+)\s*=\s*(\d{3});)");
  const std::regex loader(R"(Load(?:Bitmap|Icon|Image)A?\s*\([^;]*?MAKEINTRESOURCEA?\((\w+)\))");
  const std::regex setter(R"(Set(?:Channel|Thumb|Frame)Bitmaps?\(\s*(\d{3}))");
  for (const char* area : {"core", "skin", "windows", "graphs"}) {
    const std::filesystem::path folder = std::filesystem::path(ORVANE_SOURCE_DIR) / area;
    if (!std::filesystem::exists(folder)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
      std::ifstream in(entry.path());
      std::stringstream text;
      text << in.rdbuf();
      const std::string source = text.str();
      std::map<std::string, int> constants;
      for (std::sregex_iterator it(source.begin(), source.end(), constant), end; it != end; ++it)
        constants[(*it)[1]] = std::stoi((*it)[2]);
      for (std::sregex_iterator it(source.begin(), source.end(), loader), end; it != end; ++it) {
        const std::string name = (*it)[1];
        if (std::isdigit(static_cast<unsigned char>(name[0])))
          ids.insert(std::stoi(name));
        else if (constants.count(name))
          ids.insert(constants[name]);
      }
      for (std::sregex_iterator it(source.begin(), source.end(), setter), end; it != end; ++it)
        ids.insert(std::stoi((*it)[1]));
    }
  }
  return ids;
}

// The contrast of two colours as screen-reading guidelines measure it: from 1 (the same
// light) to 21 (black on white); 4.5 is the least that reads as ordinary text.
double Luminance(COLORREF colour) {
  auto linear = [](int channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) + 0.0722 * linear(GetBValue(colour));
}

double Contrast(COLORREF a, COLORREF b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class ProgramPicturesTest : public test::MachineTest {};

TEST_F(ProgramPicturesTest, EveryBitmapTheProgramLoadsIsARealPictureOfItsSize) {
  for (const auto& [id, expected] : kBitmaps) {
    SCOPED_TRACE(id);
    const test::Picture bitmap(LoadBitmapA(nullptr, MAKEINTRESOURCEA(id)));
    ASSERT_TRUE(bitmap);
    const SIZE size = bitmap.size();
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
    if (expected.width) {
      EXPECT_EQ(size.cx, expected.width);
    }
    if (expected.height) {
      EXPECT_EQ(size.cy, expected.height);
    }
    if (expected.corner != kAny) {
      EXPECT_EQ(bitmap.pixel(0, 0), expected.corner) << "the transparent colour at the corner";
      EXPECT_NE(bitmap.pixel(size.cx / 2, size.cy / 2), expected.corner) << "something is drawn";
    }
  }
}

// The skinned combo box writes its texts in fixed colours, black and, highlighted, blue:
// over its face (bitmap 143) and over its list's selected entry (bitmap 185) both read.
TEST_F(ProgramPicturesTest, TheComboBoxsTextsReadOnItsFaceAndSelectedEntry) {
  constexpr COLORREF kText = RGB(0, 0, 0);
  constexpr COLORREF kHighlighted = RGB(0, 0, 255);
  const test::Picture face(LoadBitmapA(nullptr, MAKEINTRESOURCEA(143)));
  const test::Picture selected(LoadBitmapA(nullptr, MAKEINTRESOURCEA(185)));
  ASSERT_TRUE(face && selected);
  for (const int x : {8, 136, 264}) {
    SCOPED_TRACE(x);
    EXPECT_GE(Contrast(face.pixel(x, 13), kText), 4.5);
    EXPECT_GE(Contrast(face.pixel(x, 13), kHighlighted), 4.5);
    for (const int y : {1, 13, 24}) EXPECT_GE(Contrast(selected.pixel(x, y), kHighlighted), 4.5) << y;
  }
}

TEST_F(ProgramPicturesTest, EveryIconTheProgramLoadsIsThere) {
  // The window system's LoadIconA hands out a handle without the picture; the picture
  // is read here from the resource's bytes by the platform's icon reader. Drawn over a
  // grey square, an icon covers its middle and lets the corner show through.
  constexpr COLORREF kGrey = RGB(128, 128, 128);
  for (int id : kIcons) {
    SCOPED_TRACE(id);
    ASSERT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)), nullptr);
    const plat::res::Blob* bytes = plat::ResourceTable::icon(nullptr, MAKEINTRESOURCEA(id));
    ASSERT_NE(bytes, nullptr);
    HICON icon = plat::IconTable::instance().addFromFile(std::span(bytes->data, bytes->size), 32);
    ASSERT_NE(icon, nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, canvas);
    HBRUSH grey = CreateSolidBrush(kGrey);
    const RECT all{0, 0, 32, 32};
    FillRect(dc, &all, grey);
    EXPECT_TRUE(DrawIcon(dc, 0, 0, icon));
    EXPECT_NE(GetPixel(dc, 16, 16), kGrey);
    EXPECT_EQ(GetPixel(dc, 0, 0), kGrey);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(grey);
    DeleteObject(canvas);
    DestroyIcon(icon);
  }
}

TEST_F(ProgramPicturesTest, EveryIdTheSourcesLoadIsAmongTheResources) {
  const std::set<int> ids = IdsLoadedBySources();
  EXPECT_FALSE(ids.empty());
  for (int id : ids) {
    const test::Picture bitmap(LoadBitmapA(nullptr, MAKEINTRESOURCEA(id)));
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    EXPECT_TRUE(bitmap || icon) << "resource " << id << " is loaded by the program but missing";
    EXPECT_TRUE(kBitmaps.count(id) || kIcons.count(id)) << "resource " << id << " has no expected size here";
  }
}

}  // namespace
