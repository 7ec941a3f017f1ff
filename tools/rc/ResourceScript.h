// A module's resource file, parsed: dialogs with their controls, string tables, menus,
// bitmaps, icons and toolbars. The format is in resources/README.md. Style expressions are kept as
// written; the generated C++ source lets the platform's headers give them their values.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace rc {

struct Control {
  std::string className;
  int id = 0;
  std::string text;
  std::string style;  // C++ expression
  std::string exStyle;
  int x = 0, y = 0, cx = 0, cy = 0;
};

struct Dialog {
  int id = 0;
  std::string caption;
  std::string className;
  std::string style = "0";
  std::string exStyle = "0";
  int x = 0, y = 0, cx = 0, cy = 0;
  std::vector<Control> controls;
};

struct MenuItem {
  bool separator = false;
  std::string text;
  unsigned id = 0;
  unsigned flags = 0;
  std::vector<MenuItem> items;  // a popup's items
};

struct Menu {
  int id = 0;
  std::vector<MenuItem> items;
};

struct StringEntry {
  unsigned id = 0;
  std::string text;
};

// A bitmap or icon file, by number; a bitmap may have a name instead (id 0).
struct FileResource {
  int id = 0;
  std::filesystem::path file;
  std::string name;
};

// A toolbar of 16 x 16 buttons: its picture (a bitmap of the same id) and its button ids,
// 0 for a gap.
struct Toolbar {
  int id = 0;
  std::vector<unsigned> buttons;
};

struct ResourceScript {
  std::vector<Dialog> dialogs;
  std::vector<StringEntry> strings;
  std::vector<Menu> menus;
  std::vector<FileResource> bitmaps;
  std::vector<FileResource> icons;
  std::vector<Toolbar> toolbars;
};

// Throws std::runtime_error "file:line: what went wrong" on a bad line.
ResourceScript parseScript(const std::filesystem::path& file);
// Adds the resources of `more` (read from `file`) to `script`, one module's resources
// written in several files; throws when an id of one kind is taken twice.
void mergeScript(ResourceScript& script, ResourceScript more, const std::filesystem::path& file);

}  // namespace rc
