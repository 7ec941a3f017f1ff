#include "windows/SkinFixture.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

namespace test {

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

struct Button {
  const char* name;
  int left, top, right, bottom;
};

// The launcher's and the TV window's buttons, in key order.
const Button kLauncherButtons[] = {
    {"HELP_BUTTON", 836, 20, 872, 56},  {"MIN_BUTTON", 880, 20, 916, 56},    {"MAX_BUTTON", 924, 20, 960, 56},
    {"CLOSE_BUTTON", 968, 20, 1004, 56}, {"TV_BUTTON", 64, 160, 416, 224},   {"FILM_BUTTON", 64, 240, 416, 304},
    {"PIC_BUTTON", 64, 320, 416, 384},  {"VIDEO_BUTTON", 64, 400, 416, 464}, {"SET_BUTTON", 64, 480, 416, 544},
    {"WEB_BUTTON", 64, 560, 416, 624},
};
const Button kTVButtons[] = {
    {"HELP_BUTTON", 836, 20, 872, 56},         {"MINISIZE_BUTTON", 880, 20, 916, 56},
    {"NORMAL_BUTTON", 924, 20, 960, 56},       {"CLOSE_BUTTON", 968, 20, 1004, 56},
    {"MAIN_BUTTON", 24, 20, 60, 56},           {"FULLSCREEN_BUTTON", 24, 96, 248, 152},
    {"RECORDTV_BUTTON", 24, 168, 248, 224},    {"CHANNEL_BUTTON", 24, 240, 248, 296},
    {"SINGLE_BUTTON", 24, 312, 248, 368},      {"TVWALL_BUTTON", 24, 384, 248, 440},
    {"SETTING_BUTTON", 24, 456, 248, 512},     {"RETURN_BUTTON", 24, 576, 248, 632},
};
const Button kAVButtons[] = {
    {"HELP_BUTTON", 836, 20, 872, 56},       {"MIN_BUTTON", 880, 20, 916, 56},
    {"MAX_BUTTON", 924, 20, 960, 56},        {"CLOSE_BUTTON", 968, 20, 1004, 56},
    {"MAIN_BUTTON", 24, 20, 60, 56},         {"FULLSCREEN_BUTTON", 792, 20, 828, 56},
    {"RETURN_BUTTON", 12, 610, 181, 652},
};
const char* const kBarButtons[] = {"BACK_MOVIE", "PLAY_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "AHEAD_MOVIE", "SUB_SND",
                                   "ADD_SND",    "MUTE_SND",   "RECORD_MOVIE", "PRE_CHANNELS", "NEXT_CHANNELS",
                                   "JIETU_PIC"};
constexpr int kBarWidth = 616;
constexpr int kBarHeight = 56;

std::string buttonSection(const Button* buttons, std::size_t count, bool restored) {
  std::ostringstream out;
  for (std::size_t i = 0; i < count; ++i) {
    const Button& b = buttons[i];
    out << i + 1 << "=" << b.name << "," << b.name << ".bmp,";
    if (restored && i >= 4)
      out << b.left * 800 / 1024 << "," << b.top * 600 / 768 << "," << b.right * 800 / 1024 << "," << b.bottom * 600 / 768;
    else
      out << b.left << "," << b.top << "," << b.right << "," << b.bottom;
    out << ",0\n";
  }
  return out.str();
}

}  // namespace

std::filesystem::path ProgramFile(const std::filesystem::path& programFolder, const std::string& relative) {
  std::string path = relative;
  for (char& c : path)
    if (c == '\\') c = '/';
  return programFolder / path;
}

void WriteIniFile(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

std::string Text(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
         std::to_string(rect.bottom);
}

void WriteBmpFile(const std::filesystem::path& file, int cx, int cy, const std::function<COLORREF(int, int)>& pixel) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(cx) * 3 + 3) / 4 * 4;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(cy);
  std::vector<std::uint8_t> out;
  put16(out, 0x4D42);
  put32(out, 54 + imageSize);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(cx));
  put32(out, static_cast<std::uint32_t>(cy));
  put16(out, 1);
  put16(out, 24);
  for (int i = 0; i < 6; ++i) put32(out, 0);
  for (int y = cy - 1; y >= 0; --y) {
    std::uint32_t row = 0;
    for (int x = 0; x < cx; ++x, row += 3) {
      const COLORREF c = pixel(x, y);
      out.push_back(GetBValue(c));
      out.push_back(GetGValue(c));
      out.push_back(GetRValue(c));
    }
    for (; row < stride; ++row) out.push_back(0);
  }
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

namespace {

// A skinned window's skin file with both button sections, its background, any further
// sections and a picture strip of four equal states per button.
template <std::size_t N>
void WriteWindowSkin(const std::filesystem::path& programFolder, const std::string& folder, const std::string& section,
                     const Button (&buttons)[N], COLORREF background, const std::string& more = "") {
  const auto file = [&](const std::string& name) { return ProgramFile(programFolder, folder + "\\" + name); };
  WriteIniFile(file("skin.ini"), "[" + section + "]\n" + buttonSection(buttons, N, false) + "[" + section + "Min]\n" +
                                     buttonSection(buttons, N, true) +
                                     "[Main-ShapeWindowBKbmp]\n1=bk_max.bmp\n2=bk_min.bmp\n" + more);
  WriteBmpFile(file("bk_max.bmp"), 64, 48, [background](int, int) { return background; });
  WriteBmpFile(file("bk_min.bmp"), 64, 48, [background](int, int) { return background; });
  for (const Button& b : buttons)
    WriteBmpFile(file(std::string(b.name) + ".bmp"), 4 * (b.right - b.left), b.bottom - b.top,
                 [](int, int) { return kButtonNormal; });
}

}  // namespace

void WriteLauncherSkin(const std::filesystem::path& programFolder) {
  WriteWindowSkin(programFolder, "Skin\\Normal", "Main-SystemButtons", kLauncherButtons, kLauncherBackground);
}

void WriteTVSkin(const std::filesystem::path& programFolder) {
  WriteWindowSkin(programFolder, "Skin\\TV", "TV-Buttons", kTVButtons, kTVBackground);
}

void WriteAVSkin(const std::filesystem::path& programFolder) {
  WriteWindowSkin(programFolder, "Skin\\AV", "TV-Buttons", kAVButtons, kAVBackground, "[AV-ListBox]\n1=12,112,181,596\n");
}

// The bar: 616 x 56, its outline cut by magenta corners of the mask; a progress bar along
// the top and twelve 32-pixel buttons below it.
void WriteBarSkin(const std::filesystem::path& programFolder) {
  const auto programFile = [&](const std::string& relative) { return ProgramFile(programFolder, relative); };
  const auto writeIni = [&](const std::string& relative, const std::string& text) {
    WriteIniFile(programFile(relative), text);
  };
  std::ostringstream ini;
  ini << "[ShapeWindowInfo]\nNormal=normal.bmp\nMask=mask.bmp\nHovered=normal.bmp\nPressed=normal.bmp\n"
         "Disabled=normal.bmp\n[ShapeProgressInfo]\nProgress1=PROGRESS_POS,Position,14,6,602,16,H,FALSE,FALSE\n"
         "[ShapeButtonInfo]\n";
  for (std::size_t i = 0; i < std::size(kBarButtons); ++i) {
    const int left = 12 + static_cast<int>(i) * 48;
    ini << "Button" << i + 1 << "=" << kBarButtons[i] << "," << left << ",20," << left + 32 << ",52," << kBarButtons[i]
        << ",FALSE,TRUE,255,255,255\n";
  }
  writeIni("skins\\elegance\\skin.ini", ini.str());
  const auto outside = [](int x, int y) { return (x < 4 || x >= kBarWidth - 4) && (y < 4 || y >= kBarHeight - 4); };
  WriteBmpFile(programFile("skins\\elegance\\normal.bmp"), kBarWidth, kBarHeight,
               [](int, int) { return kBarNormal; });
  WriteBmpFile(programFile("skins\\elegance\\mask.bmp"), kBarWidth, kBarHeight,
               [outside](int x, int y) { return outside(x, y) ? RGB(255, 0, 255) : kBarMask; });
}

}  // namespace test
