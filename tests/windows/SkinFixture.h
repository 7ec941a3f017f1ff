// Small skins the windows' tests and the end-to-end tests write into a program folder:
// the launcher's, the TV window's, the media player's and the control bar's, with plain
// coloured pictures at known places.
#pragma once

#include <win32/gdi.h>

#include <filesystem>
#include <functional>
#include <string>

namespace test {

// A 24-bit bitmap file of cx x cy pixels, each the COLORREF `pixel(x, y)`.
void WriteBmpFile(const std::filesystem::path& file, int cx, int cy, const std::function<COLORREF(int, int)>& pixel);
void WriteIniFile(const std::filesystem::path& file, const std::string& text);
// "Skin\\Normal\\skin.ini": the launcher's ten buttons in key order (help, minimise,
// maximise, close, then TV, film, pictures, video, settings, web), background and pictures.
void WriteLauncherSkin(const std::filesystem::path& programFolder);
// "Skin\\TV\\skin.ini": the TV window's twelve buttons.
void WriteTVSkin(const std::filesystem::path& programFolder);
// "Skin\\AV\\skin.ini": the media player's seven buttons (help, minimise, maximise, close,
// home, full screen, back) and its list at (12, 112, 181, 596).
void WriteAVSkin(const std::filesystem::path& programFolder);
// "skins\\elegance\\skin.ini": the 616 x 56 bar, its progress bar and twelve buttons.
void WriteBarSkin(const std::filesystem::path& programFolder);
// A file of the program folder by its Windows relative path.
std::filesystem::path ProgramFile(const std::filesystem::path& programFolder, const std::string& relative);

// "left,top,right,bottom".
std::string Text(const RECT& rect);

// The colours the fixture skins use.
inline constexpr COLORREF kLauncherBackground = RGB(20, 40, 90);
inline constexpr COLORREF kTVBackground = RGB(30, 30, 30);
inline constexpr COLORREF kAVBackground = RGB(25, 35, 50);
inline constexpr COLORREF kButtonNormal = RGB(200, 200, 60);
inline constexpr COLORREF kBarNormal = RGB(70, 120, 200);
inline constexpr COLORREF kBarMask = RGB(255, 255, 255);

}  // namespace test
