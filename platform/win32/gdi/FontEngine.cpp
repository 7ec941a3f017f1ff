#include <win32/gdi/FontEngine.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace plat {

namespace {

constexpr std::string_view kFontFolder = "/usr/share/fonts/truetype/dejavu/";
// The face linked to every face for the characters it lacks: Chinese, Japanese, Korean.
constexpr std::string_view kLinkedFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

enum class Family { Sans, Serif, Mono };

std::string lowered(const char* face) {
  std::string name(face, strnlen(face, LF_FACESIZE));
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name;
}

Family familyOf(const LOGFONTA& lf) {
  const std::string name = lowered(lf.lfFaceName);
  constexpr std::array<std::string_view, 7> serif{"times new roman", "times", "georgia", "serif", "roman",
                                                  "book antiqua", "garamond"};
  constexpr std::array<std::string_view, 8> mono{"courier new", "courier", "fixedsys", "terminal", "lucida console",
                                                 "consolas", "monospace", "simsun-mono"};
  if (std::find(mono.begin(), mono.end(), name) != mono.end()) return Family::Mono;
  if (std::find(serif.begin(), serif.end(), name) != serif.end()) return Family::Serif;
  if (name.empty() && (lf.lfPitchAndFamily & 0x03) == FIXED_PITCH) return Family::Mono;
  if (name.empty() && (lf.lfPitchAndFamily & 0xF0) == FF_ROMAN) return Family::Serif;
  if (name.empty() && (lf.lfPitchAndFamily & 0xF0) == FF_MODERN) return Family::Mono;
  return Family::Sans;
}

// "System" is a raster face of one size on Windows: smaller requests get that size.
constexpr int kSystemFontHeight = 16;

LOGFONTA withRasterSizes(const LOGFONTA& lf) {
  LOGFONTA out = lf;
  if (lowered(lf.lfFaceName) == "system" && std::abs(lf.lfHeight) < kSystemFontHeight) {
    out.lfHeight = kSystemFontHeight;
    out.lfWidth = 0;
  }
  return out;
}

std::string fileName(Family family, bool bold, bool italic) {
  std::string base;
  std::string slant = "Oblique";
  switch (family) {
    case Family::Sans:
      base = "DejaVuSans";
      break;
    case Family::Serif:
      base = "DejaVuSerif";
      slant = "Italic";
      break;
    case Family::Mono:
      base = "DejaVuSansMono";
      break;
  }
  if (bold && italic) return base + "-Bold" + slant + ".ttf";
  if (bold) return base + "-Bold.ttf";
  if (italic) return base + "-" + slant + ".ttf";
  return base + ".ttf";
}

}  // namespace

FontEngine& FontEngine::instance() {
  static FontEngine engine;
  return engine;
}

std::string FontEngine::fileFor(const LOGFONTA& lf) {
  return std::string(kFontFolder) + fileName(familyOf(lf), lf.lfWeight >= FW_SEMIBOLD, lf.lfItalic != 0);
}

std::shared_ptr<FontFace> FontEngine::face(const LOGFONTA& requested) {
  const LOGFONTA lf = withRasterSizes(requested);
  const std::string candidates[] = {fileFor(lf), std::string(kFontFolder) + fileName(familyOf(lf), false, false),
                                    std::string(kFontFolder) + fileName(Family::Sans, false, false)};
  std::lock_guard guard(m_lock);
  const std::shared_ptr<FontFace> linked = opened(std::string(kLinkedFile), lf, nullptr);
  for (const std::string& file : candidates) {
    if (std::shared_ptr<FontFace> face = opened(file, lf, linked)) return face;
  }
  return nullptr;
}

std::shared_ptr<FontFace> FontEngine::opened(const std::string& file, const LOGFONTA& lf,
                                             std::shared_ptr<FontFace> linked) {
  const Key key{file, lf.lfHeight, lf.lfWidth, lf.lfEscapement};
  std::shared_ptr<FontFace> face;
  if (auto it = m_faces.find(key); it != m_faces.end()) face = it->second.lock();
  if (!face) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return nullptr;
    face = FontFace::open(file, lf, std::move(linked));
    if (!face) return nullptr;
    std::erase_if(m_faces, [](const auto& entry) { return entry.second.expired(); });
    m_faces[key] = face;
  }
  keepRecent(face);
  return face;
}

void FontEngine::keepRecent(const std::shared_ptr<FontFace>& face) {
  std::erase(m_recent, face);
  m_recent.push_front(face);
  if (m_recent.size() > kRecentFaces) m_recent.pop_back();
}

}  // namespace plat
