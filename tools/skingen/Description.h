// The description of the default skins and the program's pictures (resources/
// DefaultSkins.def): which skin folders exist, their INI sections, every button with its
// name, look, icon, caption and design rectangle, the control bar's controls, and the
// bitmap and icon resources with their ids and sizes. The format is described at the top
// of that file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace skingen {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// A button of a skinned window, in the 1024 × 768 design space.
struct WindowButton {
  std::string name;
  std::string look;  // "caption", "menu" or "side"
  std::string icon;
  std::string caption;
  Rect rect;
};

struct Flash {
  std::string section, key;
  Rect rect;
  int red = 0, green = 0, blue = 0;
};

struct Movie {
  std::string file;
  std::string caption;
};

// A list the window makes in a rectangle its skin names (key "1" of its section).
struct ListArea {
  std::string section;
  Rect rect;
};

struct WindowSkin {
  std::string kind;    // the background's painter: "launcher", "tv" or "player"
  std::string folder;  // under the program folder, Windows separators
  std::string title;
  std::string buttonSection, minButtonSection;
  std::string backgroundSection, backgroundMax, backgroundMin;
  std::vector<Rect> frames;  // video areas the background frames
  std::vector<WindowButton> buttons;
  std::optional<Flash> flash;
  std::vector<Movie> movies;
  std::optional<ListArea> list;
};

// A shaped control of the control bar, in the bar's own pixels.
struct BarControl {
  std::string name;
  std::string icon;  // buttons only
  std::string tooltip;
  Rect rect;
  std::string orientation;  // progress bars only: "H" or "V"
};

struct BarWell {
  Rect rect;
  std::string caption;
};

struct BarSkin {
  std::string folder;
  int width = 0, height = 0;
  std::string normal, mask, hovered, pressed, disabled;
  std::vector<BarControl> buttons;
  std::vector<BarControl> progressBars;
  std::vector<BarWell> wells;
};

struct PictureResource {
  int id = 0;
  std::string look;
  int width = 0, height = 0;  // bitmaps only
};

struct Description {
  std::vector<WindowSkin> windows;
  std::vector<BarSkin> bars;
  std::vector<PictureResource> bitmaps;
  std::vector<PictureResource> icons;
};

// Throws std::runtime_error "file:line: what is wrong".
Description readDescription(const std::filesystem::path& file);

}  // namespace skingen
