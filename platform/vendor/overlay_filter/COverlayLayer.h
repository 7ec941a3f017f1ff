// One layer of the overlay filter: what it shows (a text or a picture), where, in which
// colours and how opaque, and the image those settings make. The image is made again,
// through GDI, the first time it is drawn after a setting changed. Pixels of the key
// colour stay transparent.
#pragma once

#include <win32/gdi.h>
#include <win32/user/logfont.h>

#include <cstdint>
#include <string>
#include <vector>

struct VIDEOINFOHEADER;

class COverlayLayer {
 public:
  explicit COverlayLayer(bool text) : m_isText(text) {}

  void setText(std::string text);
  void setSize(int width, int height);
  // Copies the bitmap's pixels; false when the handle is no bitmap.
  bool setPicture(HBITMAP picture);
  void clearPicture();
  void setColors(COLORREF ink, COLORREF key);
  void setPosition(int x, int y);
  void setFont(const LOGFONTA& font);
  void setBlend(double blend);

  // Draws the layer over a YUY2, RGB24 or RGB32 picture of `length` bytes.
  void drawOnto(BYTE* frame, long length, const VIDEOINFOHEADER& format, bool yuy2);

 private:
  struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom
  };

  void render();
  void renderText();
  void renderPicture();
  bool isKey(std::uint32_t pixel) const;
  int alpha() const;  // 0..256

  bool m_isText;
  std::string m_text;
  int m_width = 0;  // picture size asked for; 0 keeps the picture's own
  int m_height = 0;
  Image m_source;  // the picture as set
  COLORREF m_ink = RGB(255, 255, 255);
  COLORREF m_key = RGB(0, 0, 0);
  int m_x = 0;
  int m_y = 0;
  LOGFONTA m_font{};
  double m_blend = -1.0;
  bool m_dirty = true;
  Image m_image;
};
