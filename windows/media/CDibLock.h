// The current picture's pixels, locked for one operation: a packed DIB in a global block
// (a 40-byte header, then the rows), checked before any pixel is touched. Only an
// uncompressed 24-bit DIB whose rows of `Stride()` bytes all lie inside its block is
// usable: the effects, filters and histogram are told its own width, height and stride
// and never reach past the block, whatever its header's image size says.
#pragma once

#include <win32/types.h>

class CDibLock {
 public:
  explicit CDibLock(HGLOBAL hDib);
  ~CDibLock();
  CDibLock(const CDibLock&) = delete;
  CDibLock& operator=(const CDibLock&) = delete;

  BOOL IsUsable() const { return m_pBits != nullptr; }
  BYTE* GetBits() const { return m_pBits; }
  int GetWidth() const { return m_nWidth; }
  // Rows, whether stored bottom-up or top-down.
  int GetHeight() const { return m_nHeight; }
  int GetBytesPerPixel() const { return m_nBytesPerPixel; }
  // (width x bit count + 31) / 8, down to a multiple of 4.
  int GetStride() const { return m_nStride; }
  // Stride x rows: what the pixels take.
  SIZE_T GetImageSize() const { return static_cast<SIZE_T>(m_nStride) * static_cast<SIZE_T>(m_nHeight); }

 private:
  HGLOBAL m_hDib;
  BYTE* m_pDib = nullptr;
  BYTE* m_pBits = nullptr;
  int m_nWidth = 0;
  int m_nHeight = 0;
  int m_nBytesPerPixel = 0;
  int m_nStride = 0;
};
