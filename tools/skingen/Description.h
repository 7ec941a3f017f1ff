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

// A text label of a skinned window (its "-Static" section), in the design space.
struct WindowLabel {
  std::string name;
  std::string text;
  Rect rect;
};

// Two radio buttons under one key: each picture holds its unchecked and checked image.
struct RadioPair {
  std::string section, key;
  std::string captions[2];
  Rect rects[2];
};

// A text painted on a window's background.
struct Caption {
  std::string text;
  Rect rect;
};

// The place of a window's list control, keyed from "1" in the order of its section's
// lists, with the flag some windows read after it.
struct ListPlace {
  std::string section;
  Rect rect;
  std::optional<bool> flag;
};

// A latching button of a section of its own, keyed from "1" in the order given; its
// picture holds five states.
struct LatchButton {
  std::string section;
  WindowButton button;
};

// A radio button of its own key ("caption,picture,value,left,top,right,bottom"), its
// picture holding the unchecked and the checked image side by side.
struct WindowRadio {
  int value = 0;
  std::string caption;
  Rect rect;
};

// A numeric edit the window makes itself ("NAME,left,top,right,bottom"); the background
// frames its place.
struct WindowEdit {
  std::string name;
  Rect rect;
};

struct WindowSkin {
  std::string kind;    // the background's painter: "launcher", "tv", "channel", "pic", "settings", "player",
                       // "video", "plans" or "entry"
  std::string folder;  // under the program folder, Windows separators
  std::string title;
  std::string buttonSection, minButtonSection;
  std::string backgroundSection, backgroundMax, backgroundMin;
  std::vector<Rect> frames;  // video areas the background frames
  std::vector<WindowButton> buttons;
  std::optional<Flash> flash;
  std::vector<Movie> movies;
  // The restored layout keeps this many buttons at their full-screen numbers.
  std::size_t fixedButtons = 4;
  std::string labelSection;
  std::vector<WindowLabel> labels;
  std::optional<RadioPair> radios;
  std::vector<Caption> captions;
  std::vector<ListPlace> lists;
  std::vector<LatchButton> latches;
  // The settings windows': panels behind groups of controls, and dark readouts behind the
  // labels, for windows whose labels write white.
  std::vector<Rect> panels;
  bool darkLabels = false;
  // The schedule entry editor's radio buttons and numeric edits, each in its section.
  std::string radioSection;
  std::vector<WindowRadio> radioButtons;
  std::string editSection;
  std::vector<WindowEdit> edits;
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

// A framed window's skin (the free-standing video window's): the frame cut from one
// picture, and a bar of icon buttons along the client area's bottom, in a 320-unit wide
// layout whose tops count up from the client's bottom edge.
struct FramedSkin {
  std::string folder;
  std::vector<WindowButton> buttons;  // look "caption"
};

struct PictureResource {
  int id = 0;
  std::string look;
  int width = 0, height = 0;  // bitmaps only
};

struct Description {
  std::vector<WindowSkin> windows;
  std::vector<BarSkin> bars;
  std::vector<FramedSkin> framedWindows;
  std::vector<PictureResource> bitmaps;
  std::vector<PictureResource> icons;
};

// Throws std::runtime_error "file:line: what is wrong".
Description readDescription(const std::filesystem::path& file);

}  // namespace skingen
