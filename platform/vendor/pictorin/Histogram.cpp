#include "Histogram.h"

#include "Pictorin.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

void Histogram::count(const std::uint8_t* bits, int width, int height, int stride, int channelMask, DWORD* counts,
                      DWORD* maxima) {
  std::memset(counts, 0, sizeof(DWORD) * PICTORIN_CHANNELS * PICTORIN_BINS);
  std::memset(maxima, 0, sizeof(DWORD) * PICTORIN_CHANNELS);
  DWORD* red = counts + PICTORIN_CHANNEL_RED * PICTORIN_BINS;
  DWORD* green = counts + PICTORIN_CHANNEL_GREEN * PICTORIN_BINS;
  DWORD* blue = counts + PICTORIN_CHANNEL_BLUE * PICTORIN_BINS;
  DWORD* light = counts + PICTORIN_CHANNEL_LIGHTNESS * PICTORIN_BINS;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* p = bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
    for (int x = 0; x < width; ++x, p += 3) {
      ++blue[p[0]];
      ++green[p[1]];
      ++red[p[2]];
      ++light[(p[0] * 467 + p[1] * 2404 + p[2] * 1225 + 2048) >> 12];
    }
  }
  for (int c = 0; c < PICTORIN_CHANNELS; ++c) {
    DWORD* bins = counts + c * PICTORIN_BINS;
    if (!(channelMask & (1 << c))) {
      std::memset(bins, 0, sizeof(DWORD) * PICTORIN_BINS);
      continue;
    }
    maxima[c] = *std::max_element(bins, bins + PICTORIN_BINS);
  }
}

void Histogram::draw(HDC hdc, const RECT& rect, int colorCount, int channelMask, const DWORD* counts,
                     const DWORD* maxima, const COLORREF* colors) {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  if (w <= 1 || h <= 1) return;
  const int channels = std::min(colorCount, PICTORIN_CHANNELS);
  for (int c = 0; c < channels; ++c) {
    if (!(channelMask & (1 << c)) || maxima[c] == 0) continue;
    HPEN pen = ::CreatePen(PS_SOLID, 1, colors[c]);
    HGDIOBJ old = ::SelectObject(hdc, pen);
    const DWORD* bins = counts + c * PICTORIN_BINS;
    for (int b = 0; b < PICTORIN_BINS; ++b) {
      const int x = rect.left + b * (w - 1) / (PICTORIN_BINS - 1);
      const int y = rect.bottom - 1 - static_cast<int>(static_cast<long long>(bins[b]) * (h - 1) / maxima[c]);
      if (b == 0)
        ::MoveToEx(hdc, x, y, nullptr);
      else
        ::LineTo(hdc, x, y);
    }
    ::SelectObject(hdc, old);
    ::DeleteObject(pen);
  }
}
