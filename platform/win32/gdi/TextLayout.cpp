#include <win32/gdi/TextLayout.h>

namespace plat {

TextLayout::TextLayout(FontFace& face, UINT format, int extra)
    : m_face(face),
      m_format(format),
      m_tabWidth((format & DT_EXPANDTABS) ? 8 * face.metrics().aveCharWidth : 0),
      m_extra(extra) {}

int TextLayout::nextTabStop(int x) const { return (x / m_tabWidth + 1) * m_tabWidth; }

int TextLayout::measure(std::u32string_view text) const {
  int x = 0;
  for (char32_t c : text) {
    if (c == U'\t')
      x = m_tabWidth > 0 ? nextTabStop(x) : x;
    else
      x += m_face.advance(c) + m_extra;
  }
  return x;
}

std::vector<TextLayout::Line> TextLayout::lay(std::u32string text, int width) const {
  int underlined = -1;
  if (!(m_format & DT_NOPREFIX)) {
    std::u32string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == U'&' && i + 1 < text.size()) {
        ++i;
        if (text[i] != U'&') underlined = static_cast<int>(plain.size());
      }
      plain.push_back(text[i]);
    }
    text = std::move(plain);
  }
  std::vector<Line> lines;
  for (Line& line : split(text, underlined)) {
    if ((m_format & DT_WORDBREAK) && !(m_format & DT_SINGLELINE))
      wrap(std::move(line), width, lines);
    else
      lines.push_back(std::move(line));
  }
  for (Line& line : lines) {
    line.width = measure(line.text);
    if ((m_format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) && line.width > width) shorten(line, width);
  }
  return lines;
}

std::vector<TextLayout::Line> TextLayout::split(const std::u32string& text, int underlined) const {
  std::vector<Line> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const bool lineBreak = !(m_format & DT_SINGLELINE) && (c == U'\n' || c == U'\r');
    if (!lineBreak) {
      if (static_cast<int>(i) == underlined) lines.back().underlined = static_cast<int>(lines.back().text.size());
      lines.back().text.push_back(c);
      continue;
    }
    if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
    lines.emplace_back();
  }
  return lines;
}

void TextLayout::wrap(Line line, int width, std::vector<Line>& out) const {
  const std::u32string& text = line.text;
  std::size_t start = 0;
  while (start < text.size()) {
    // The longest run of whole words from `start` that fits; a word alone may overflow.
    std::size_t end = start;
    std::size_t fit = std::u32string::npos;
    while (end < text.size()) {
      std::size_t wordEnd = text.find(U' ', end);
      if (wordEnd == std::u32string::npos) wordEnd = text.size();
      if (measure(std::u32string_view(text).substr(start, wordEnd - start)) > width && fit != std::u32string::npos) break;
      fit = wordEnd;
      end = wordEnd + 1;
    }
    Line piece;
    piece.text = text.substr(start, fit - start);
    if (line.underlined >= static_cast<int>(start) && line.underlined < static_cast<int>(fit))
      piece.underlined = line.underlined - static_cast<int>(start);
    out.push_back(std::move(piece));
    start = fit;
    while (start < text.size() && text[start] == U' ') ++start;
  }
  if (text.empty()) out.push_back(std::move(line));
}

void TextLayout::shorten(Line& line, int width) const {
  const std::u32string dots = U"...";
  while (!line.text.empty() && measure(line.text + dots) > width) line.text.pop_back();
  if (line.underlined >= static_cast<int>(line.text.size())) line.underlined = -1;
  line.text += dots;
  line.width = measure(line.text);
}

}  // namespace plat
