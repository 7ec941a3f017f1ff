// Finds the face a LOGFONT draws with. The installed DejaVu families stand in for the
// Windows faces: serif names and roman families take DejaVu Serif, fixed-pitch names
// and requests DejaVu Sans Mono, every other name (known or not) DejaVu Sans; weight
// 600 and up takes the bold file and italic the oblique one. A missing file falls back
// to the family's regular file and then to DejaVu Sans. Characters DejaVu lacks (Chinese,
// Japanese, Korean) come from the linked WenQuanYi Micro Hei face where it is installed.
// Faces are shared between fonts asking the same size and style.
#pragma once

#include <win32/gdi/FontFace.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

namespace plat {

class FontEngine {
 public:
  static FontEngine& instance();

  // Null when no font file can be opened.
  std::shared_ptr<FontFace> face(const LOGFONTA& logFont);
  // The font file a LOGFONT maps to, before fallback.
  static std::string fileFor(const LOGFONTA& logFont);

 private:
  using Key = std::tuple<std::string, LONG, LONG, LONG>;  // file, height, width, escapement

  // The cached face of a file at a LOGFONT's size, opened on first use; null when the file
  // cannot be opened. Called under m_lock.
  std::shared_ptr<FontFace> opened(const std::string& file, const LOGFONTA& lf, std::shared_ptr<FontFace> linked);

  std::mutex m_lock;
  std::map<Key, std::shared_ptr<FontFace>> m_faces;
};

}  // namespace plat
