// The resources compiled into each module of the process: dialog templates, string
// tables, menus, bitmaps and icons, by numeric id (bitmaps also by name).
//
// The resource compiler (tools/rc) turns a module's resource file (resources/*.rc, format
// in resources/README.md) into a C++ source holding these records and one Registration;
// the module registers them when it is loaded, under its own file, so a lookup by module
// handle finds that module's resources (NULL and the program's handle mean the program).
// Dialog rectangles are in pixels: x and y place the window, cx and cy give its client
// area; control rectangles are in the dialog's client coordinates.
#pragma once

#include <win32/types.h>

#include <cstddef>
#include <optional>
#include <string>

namespace plat::res {

struct Control {
  const char* className;
  int id;
  const char* text;
  DWORD style;
  DWORD exStyle;
  int x, y, cx, cy;
};

struct Dialog {
  int id;
  const char* caption;
  const char* className;  // "" for the dialog class "#32770"
  DWORD style;
  DWORD exStyle;
  int x, y, cx, cy;
  const Control* controls;
  std::size_t controlCount;
};

struct String {
  UINT id;
  const char* text;
};

// A bitmap (.bmp file), icon (.ico file) or toolbar as its bytes. A toolbar's bytes are
// 16-bit words: version, button width, button height, count, then the button ids (0 for a
// gap); its picture is the bitmap of the same id. A bitmap may carry a name (upper case)
// instead of a number.
struct Blob {
  int id;
  const unsigned char* data;
  std::size_t size;
  const char* name;  // nullptr for a numbered resource
};

struct MenuItem {
  const char* text;  // nullptr for a separator
  UINT id;
  UINT flags;        // MF_GRAYED, MF_CHECKED … as written
  const MenuItem* items;  // a popup's items
  std::size_t itemCount;
};

struct Menu {
  int id;
  const MenuItem* items;
  std::size_t itemCount;
};

struct Module {
  const Dialog* dialogs;
  std::size_t dialogCount;
  const String* strings;
  std::size_t stringCount;
  const Menu* menus;
  std::size_t menuCount;
  const Blob* bitmaps;
  std::size_t bitmapCount;
  const Blob* icons;
  std::size_t iconCount;
  const Blob* toolbars;
  std::size_t toolbarCount;
};

}  // namespace plat::res

namespace plat {

class ResourceTable {
 public:
  // One per module, made by the generated source; registers the module's resources
  // under the file the module was loaded from.
  class Registration {
   public:
    explicit Registration(const res::Module* module);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

   private:
    const res::Module* m_module;
  };

  // `name` is MAKEINTRESOURCE(id) or "#id" (for a bitmap also its name, in any case);
  // nullptr when absent.
  static const res::Dialog* dialog(HINSTANCE module, LPCSTR name);
  static const res::Menu* menu(HINSTANCE module, LPCSTR name);
  static const res::Blob* bitmap(HINSTANCE module, LPCSTR name);
  static const res::Blob* icon(HINSTANCE module, LPCSTR name);
  static const res::Blob* toolbar(HINSTANCE module, LPCSTR name);
  static std::optional<std::string> string(HINSTANCE module, UINT id);

 private:
  static const res::Module* moduleOf(HINSTANCE module);
};

}  // namespace plat
