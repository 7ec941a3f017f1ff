#include "skin/CoolMenuImages.h"

#include <mfc/afxwin.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kIconSize = 16;
constexpr COLORREF kListMask = 0xFF00FF;

// The toolbar's non-zero button ids, in resource order; empty without the resource.
std::vector<UINT> ReadToolbarIds(UINT nToolbarId) {
  HINSTANCE module = AfxGetResourceHandle();
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(nToolbarId), RT_TOOLBAR);
  const auto* words = found ? static_cast<const BYTE*>(::LockResource(::LoadResource(module, found))) : nullptr;
  const std::size_t size = found ? ::SizeofResource(module, found) : 0;
  auto word = [&](std::size_t i) { return static_cast<UINT>(words[2 * i] | words[2 * i + 1] << 8); };
  std::vector<UINT> ids;
  if (!words || size < 8) return ids;
  // The count is bounded by the resource's own size.
  const std::size_t count = std::min<std::size_t>(word(3), size / 2 - 4);
  for (std::size_t i = 0; i < count; ++i)
    if (const UINT id = word(4 + i)) ids.push_back(id);
  return ids;
}

// A 32-bit picture of the given size, top row first.
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  return format;
}

// The picture's pixels as 0xAARRGGBB, top row first.
bool ReadPixels(HBITMAP bitmap, int& width, int& height, std::vector<DWORD>& pixels) {
  BITMAP info{};
  if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
  width = info.bmWidth;
  height = info.bmHeight;
  BITMAPINFO format = TopDown32(width, height);
  pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  HDC screen = ::GetDC(nullptr);
  const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &format, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  return rows == height;
}

BYTE Channel(DWORD pixel, int shift) { return static_cast<BYTE>(pixel >> shift & 0xFF); }

DWORD Pack(int r, int g, int b) {
  auto clamp = [](int v) { return static_cast<DWORD>(std::clamp(v, 0, 255)); };
  return clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

// One shade of a pixel; mask pixels stay the list's mask colour.
DWORD ShadePixel(DWORD pixel, CoolMenuImages::Shade shade, bool alpha, COLORREF toolbarMask, COLORREF background) {
  const int a = Channel(pixel, 24);
  int r = Channel(pixel, 16), g = Channel(pixel, 8), b = Channel(pixel, 0);
  if (alpha ? a == 0 : RGB(r, g, b) == toolbarMask) return Pack(GetRValue(kListMask), GetGValue(kListMask), GetBValue(kListMask));
  if (shade == CoolMenuImages::kDisabled) {
    const double luma = 0.299 * r + 0.587 * g + 0.114 * b;
    r = g = b = static_cast<int>(255 - 0.8 * (255 - luma));
  } else if (shade == CoolMenuImages::kHighlighted) {
    r = static_cast<int>(255 - 0.9 * (255 - r));
    g = static_cast<int>(255 - 0.9 * (255 - g));
    b = static_cast<int>(255 - 0.9 * (255 - b));
  }
  if (alpha) {
    r = (r * a + GetRValue(background) * (255 - a)) / 255;
    g = (g * a + GetGValue(background) * (255 - a)) / 255;
    b = (b * a + GetBValue(background) * (255 - a)) / 255;
  }
  return Pack(r, g, b);
}

HIMAGELIST MakeList(const std::vector<DWORD>& pixels, int width, int height) {
  HIMAGELIST list = ::ImageList_Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, 25, 16);
  const BITMAPINFO format = TopDown32(width, height);
  void* bits = nullptr;
  HBITMAP picture = ::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (list && picture && bits) {
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(DWORD));
    ::ImageList_AddMasked(list, picture, kListMask);
  }
  if (picture) ::DeleteObject(picture);
  return list;
}

}  // namespace

int CoolMenuImages::Load(UINT nToolbarId, UINT nBitmapId, const CoolMenuTheme& theme) {
  Free();
  m_ids = ReadToolbarIds(nToolbarId);
  m_bitmapId = nBitmapId ? nBitmapId : nToolbarId;
  m_mask = nBitmapId ? 0xFF00FF : 0xC0C0C0;
  Rebuild(theme);
  return static_cast<int>(m_ids.size());
}

void CoolMenuImages::Rebuild(const CoolMenuTheme& theme) {
  FreeLists();
  if (!m_bitmapId) return;
  auto* bitmap = static_cast<HBITMAP>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_bitmapId), IMAGE_BITMAP,
                                                   0, 0, LR_CREATEDIBSECTION));
  int width = 0, height = 0;
  std::vector<DWORD> pixels;
  const bool read = ReadPixels(bitmap, width, height, pixels);
  if (bitmap) ::DeleteObject(bitmap);
  if (!read) return;
  const bool alpha = (theme.flags & CoolMenuTheme::kAlpha) != 0;
  const COLORREF face = (theme.flags & CoolMenuTheme::kIconBar) ? theme.IconBarColor : theme.MenuColor;
  const COLORREF backgrounds[3] = {face, face, theme.LightBarStartColor};
  for (int shade = kNormal; shade <= kHighlighted; ++shade) {
    std::vector<DWORD> shaded(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i)
      shaded[i] = ShadePixel(pixels[i], static_cast<Shade>(shade), alpha, m_mask, backgrounds[shade]);
    m_lists[shade] = MakeList(shaded, width, height);
  }
}

int CoolMenuImages::IndexOf(UINT nCommandId) const {
  const auto it = std::find(m_ids.begin(), m_ids.end(), nCommandId);
  const int index = static_cast<int>(it - m_ids.begin());
  // A command past the picture's last image has none.
  return it != m_ids.end() && m_lists[kNormal] && index < ::ImageList_GetImageCount(m_lists[kNormal]) ? index : -1;
}

bool CoolMenuImages::Draw(HDC hdc, UINT nCommandId, Shade shade, int x, int y) const {
  const int index = IndexOf(nCommandId);
  return index >= 0 && ::ImageList_Draw(m_lists[shade], index, hdc, x, y, ILD_TRANSPARENT) != FALSE;
}

void CoolMenuImages::FreeLists() {
  for (HIMAGELIST& list : m_lists) {
    if (list) ::ImageList_Destroy(list);
    list = nullptr;
  }
}

void CoolMenuImages::Free() {
  FreeLists();
  m_ids.clear();
  m_bitmapId = 0;
}
