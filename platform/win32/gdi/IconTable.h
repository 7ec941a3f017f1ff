// The icons of the process: HICON/HCURSOR values and the pictures behind them (an image
// and a monochrome mask, 1 where the screen shows through, and a cursor's hot spot).
// Also reads icon and cursor files, picking the image nearest the wanted size.
#pragma once

#include <win32/gdi/Surface.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>

namespace plat {

class IconTable {
 public:
  struct Icon {
    // Nothing for a copy of a handle from the window system, which has no picture.
    std::shared_ptr<const Surface> image;
    std::shared_ptr<const Surface> mask;
    POINT hotspot{0, 0};
  };

  static IconTable& instance();

  // A new handle for the picture of an icon or cursor file's best image for `size`
  // pixels; null when the data is not such a file.
  HICON addFromFile(std::span<const std::uint8_t> data, int size);
  HICON add(Icon icon);
  // Nothing when the handle is not one of these icons.
  std::optional<Icon> find(HICON handle) const;
  bool remove(HICON handle);
  std::size_t count() const;

 private:
  mutable std::mutex m_lock;
  std::uintptr_t m_next = 0x1C0000;
  std::map<HICON, Icon> m_icons;
};

}  // namespace plat
