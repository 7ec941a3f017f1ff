// Finds the face a LOGFONT draws with. The installed DejaVu families stand in for the
// Windows faces: serif names and roman families take DejaVu Serif, fixed-pitch names
// and requests DejaVu Sans Mono, every other name (known or not) DejaVu Sans; weight
// 600 and up takes the bold file and italic the oblique one. A missing file falls back
// to the family's regular file and then to DejaVu Sans. Characters DejaVu lacks (Chinese,
// Japanese, Korean) come from the linked WenQuanYi Micro Hei face where it is installed.
// Faces are shared between fonts asking the same size and style, and kept while a font
// draws with them and for the last kRecentFaces sizes asked for, so a font made again finds
// its face; faces of sizes no longer used are let go, however many sizes a program asks for.
#pragma once

#include <win32/gdi/FontFace.h>

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

namespace plat {

class FontEngine {
 public:
  static constexpr std::size_t kRecentFaces = 32;

  static FontEngine& instance();

  // Null when no font file can be opened.
  std::shared_ptr<FontFace> face(const LOGFONTA& logFont);
  // The font file a LOGFONT maps to, before fallback.
  static std::string fileFor(const LOGFONTA& logFont);

 private:
  using Key = std::tuple<std::string, LONG, LONG, LONG>;  // file, height, width, escapement

  // The face of a file at a LOGFONT's size, opened when no font holds it and it is not
  // among the recent ones; null when the file cannot be opened. Called under m_lock.
  std::shared_ptr<FontFace> opened(const std::string& file, const LOGFONTA& lf, std::shared_ptr<FontFace> linked);
  // Under m_lock: `face` is the most recently asked for.
  void keepRecent(const std::shared_ptr<FontFace>& face);

  std::mutex m_lock;
  std::map<Key, std::weak_ptr<FontFace>> m_faces;
  std::deque<std::shared_ptr<FontFace>> m_recent;  // most recent first
};

}  // namespace plat
