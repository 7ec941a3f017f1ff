#include <vendor/logo/Logo.h>

#include <win32/gdi.h>

#include <cstring>

namespace {

// About the shape of the launcher's corner it is drawn into (39 x 35 at full screen).
constexpr int kLogoWidth = 88;
constexpr int kLogoHeight = 80;
constexpr int kNoticeWidth = 250;
constexpr int kNoticeHeight = 120;

// The default skin's dark slate and teal.
constexpr COLORREF kSlate = RGB(0x1E, 0x28, 0x32);
constexpr COLORREF kSlateLight = RGB(0x2C, 0x3A, 0x46);
constexpr COLORREF kTeal = RGB(0x2A, 0xA8, 0xA0);
constexpr COLORREF kPaper = RGB(0xDC, 0xE8, 0xEA);

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  HGDIOBJ old = ::SelectObject(dc, brush);
  ::PatBlt(dc, left, top, right - left, bottom - top, PATCOPY);
  ::SelectObject(dc, old);
  ::DeleteObject(brush);
}

// `text` from (x, y); with x < 0 centred across the bitmap `width` wide.
void Text(HDC dc, int x, int y, int height, int weight, COLORREF colour, const char* text, int width = 0) {
  HFONT font = ::CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  HGDIOBJ old = ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, colour);
  const int length = static_cast<int>(std::strlen(text));
  if (x < 0) {
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, text, length, &extent);
    x = (width - extent.cx) / 2;
  }
  ::TextOutA(dc, x, y, text, length);
  ::SelectObject(dc, old);
  ::DeleteObject(font);
}

// A 32-bit bitmap painted by `paint` on a memory context; null when GDI has no room.
template <typename Paint>
HBITMAP DrawBitmap(int width, int height, Paint paint) {
  HBITMAP bitmap = ::CreateBitmap(width, height, 1, 32, nullptr);
  if (!bitmap) return nullptr;
  HDC dc = ::CreateCompatibleDC(nullptr);
  if (!dc) {
    ::DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  paint(dc);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return bitmap;
}

// A teal mark (a stylised screen with a "T") above the company name.
void PaintLogo(HDC dc) {
  Fill(dc, 0, 0, kLogoWidth, kLogoHeight, kSlate);
  Fill(dc, 24, 4, 64, 44, kTeal);
  Fill(dc, 29, 9, 59, 39, kSlate);
  Fill(dc, 34, 14, 54, 20, kTeal);
  Fill(dc, 41, 20, 47, 35, kTeal);
  Text(dc, -1, 50, 22, FW_BOLD, kPaper, "Talvik", kLogoWidth);
}

// A calm slate panel: a teal title band, a lighter text field and a thin frame.
void PaintNotice(HDC dc) {
  Fill(dc, 0, 0, kNoticeWidth, kNoticeHeight, kTeal);
  Fill(dc, 1, 1, kNoticeWidth - 1, kNoticeHeight - 1, kSlate);
  Fill(dc, 1, 1, kNoticeWidth - 1, 30, kSlateLight);
  Fill(dc, 1, 30, kNoticeWidth - 1, 32, kTeal);
  Text(dc, 10, 7, 14, FW_BOLD, kPaper, "Talvik");
  Fill(dc, 6, 38, kNoticeWidth - 6, kNoticeHeight - 20, kPaper);
}

}  // namespace

extern "C" {

HBITMAP GetCompanyLogo() { return DrawBitmap(kLogoWidth, kLogoHeight, PaintLogo); }

HBITMAP GetMessageWindowLogo() { return DrawBitmap(kNoticeWidth, kNoticeHeight, PaintNotice); }

const char* GetCompanyWeb() { return "http://www.talvik.example/"; }

}  // extern "C"
