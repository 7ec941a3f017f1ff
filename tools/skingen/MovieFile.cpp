#include "MovieFile.h"

#include <algorithm>

namespace skingen {

namespace {

// Bit-packed fields, most significant bit first, as the movie header's rectangle is.
class BitWriter {
 public:
  void put(unsigned value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      m_current = static_cast<std::uint8_t>((m_current << 1) | ((value >> i) & 1));
      if (++m_used == 8) flush();
    }
  }
  Bytes finish() {
    if (m_used) {
      m_current = static_cast<std::uint8_t>(m_current << (8 - m_used));
      flush();
    }
    return m_bytes;
  }

 private:
  void flush() {
    m_bytes.push_back(m_current);
    m_current = 0;
    m_used = 0;
  }
  Bytes m_bytes;
  std::uint8_t m_current = 0;
  int m_used = 0;
};

void put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putTag(Bytes& out, unsigned code, const Bytes& body) {
  put16(out, (code << 6) | static_cast<unsigned>(body.size()));  // short tags: bodies under 63 bytes
  out.insert(out.end(), body.begin(), body.end());
}

constexpr unsigned kTagEnd = 0, kTagShowFrame = 1, kTagSetBackgroundColor = 9, kTagFrameLabel = 43;

}  // namespace

Bytes encodeMovie(int width, int height, Rgb background, const std::string& caption) {
  // Frame size in twips; 16 bits a field holds any screen size with its sign bit.
  BitWriter rect;
  rect.put(16, 5);
  for (unsigned value : {0u, static_cast<unsigned>(width * 20), 0u, static_cast<unsigned>(height * 20)}) rect.put(value, 16);
  Bytes body = rect.finish();
  body.insert(body.end(), {0, 12});  // 12 frames a second, 8.8 fixed point
  put16(body, 1);                    // one frame
  putTag(body, kTagSetBackgroundColor, {background.r, background.g, background.b});
  Bytes label(caption.begin(), caption.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(caption.size(), 60)));
  label.push_back(0);
  putTag(body, kTagFrameLabel, label);
  putTag(body, kTagShowFrame, {});
  putTag(body, kTagEnd, {});

  Bytes file = {'F', 'W', 'S', 6};
  const auto length = static_cast<unsigned>(body.size() + 8);
  put16(file, length & 0xFFFF);
  put16(file, length >> 16);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

}  // namespace skingen
