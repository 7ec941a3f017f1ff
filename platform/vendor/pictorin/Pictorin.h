// The maker's image-effects library ("Pictorin.dll"): device-independent bitmaps read from
// and saved to BMP files as packed DIBs in global memory, drawn into a device context, and
// changed in place: lightness, hue, contrast and saturation, Gaussian and median smoothing,
// and a histogram of the colour channels with its drawing.
//
// Plain C exports. Everything works on 24-bit pixels only: DIBRead refuses any other BMP
// (and compressed, truncated or oversized ones), and each pixel function refuses bytes per
// pixel other than 3, a stride shorter than a row, or a size past the caps, returning FALSE
// and touching nothing. The functions that take bare pixels trust the caller's buffer to
// hold `stride` x `height` bytes: that is the size of every DIB DIBRead hands out, whose
// header's biSizeImage says so.
//
// DIBs from DIBRead are bottom-up, with a 40-byte header, no colour table and biSizeImage
// set; the caller frees the handle with GlobalFree.
#pragma once

#include <win32/gdi.h>
#include <win32/types.h>

// Caps on what the library takes: a side, and the whole picture.
#define PICTORIN_MOST_SIDE 16384
#define PICTORIN_MOST_PIXELS (48L * 1000 * 1000)
// Histogram channels, in this order, and the bins of each.
#define PICTORIN_CHANNEL_RED 0
#define PICTORIN_CHANNEL_GREEN 1
#define PICTORIN_CHANNEL_BLUE 2
#define PICTORIN_CHANNEL_LIGHTNESS 3
#define PICTORIN_CHANNELS 4
#define PICTORIN_BINS 256

extern "C" {

// A BMP file (Windows path) as a packed DIB in a movable global block; NULL when it
// cannot be read or is not an uncompressed 24-bit picture within the caps.
HGLOBAL DIBRead(const char* path);
// Writes the DIB as a BMP file, replacing the file whole; FALSE for a DIB that is not one
// of the kind DIBRead hands out, or when the file cannot be written.
BOOL DIBSave(HGLOBAL hDIB, const char* path);
// Draws the part `lpDIBRect` (top-left origin) of the DIB into `lpDCRect`, scaled through
// an area-averaging filter. `dwFlags` is reserved (0).
BOOL DIBDisplay(HDC hDC, const RECT* lpDCRect, HGLOBAL hDIB, const RECT* lpDIBRect, DWORD dwFlags);
// The pixel bits of a locked packed DIB: past its header and colour table. NULL for a
// header that is not a DIB's.
BYTE* GetDIBBits(BYTE* lpDIB);

// In-place adjustments of rows of 24-bit pixels (blue, green, red). The bytes per pixel of
// the source and of the pixels changed must both be 3. `value` is the strength, -127 (the
// most the other way) to 127; 0 changes nothing. `reserved` is 0.
//   lightness:  every channel moves by value toward white (or black);
//   hue:        the colour turns about the grey axis by value x 180 / 128 degrees;
//   contrast:   every channel moves away from (or toward) mid grey by a factor (128 + value) / 128;
//   saturation: every channel moves away from (or toward) the pixel's grey by that factor.
BOOL AdjustLightness(BYTE* bits, int width, int height, int srcBytesPerPixel, int dstBytesPerPixel, int stride,
                     int value, int reserved);
BOOL AdjustHue(BYTE* bits, int width, int height, int srcBytesPerPixel, int dstBytesPerPixel, int stride, int value,
               int reserved);
BOOL AdjustContrast(BYTE* bits, int width, int height, int srcBytesPerPixel, int dstBytesPerPixel, int stride,
                    int value, int reserved);
BOOL AdjustSaturation(BYTE* bits, int width, int height, int srcBytesPerPixel, int dstBytesPerPixel, int stride,
                      int value, int reserved);

// 3 x 3 filters from `src` into `dst` of the same layout (the two must not overlap):
// Gaussian (weights 1 2 1 / 2 4 2 / 1 2 1) and median, per channel; the picture's edge
// pixels stand in for those beyond it.
BOOL GaussSmooth(const BYTE* src, int srcBytesPerPixel, int dstBytesPerPixel, int width, int height, int stride,
                 BYTE* dst);
BOOL MedianSmooth(const BYTE* src, int srcBytesPerPixel, int dstBytesPerPixel, int width, int height, int stride,
                  BYTE* dst);

// Counts the pixels of each value in the channels of `channelMask` (bit n for channel n):
// `counts` holds PICTORIN_CHANNELS x PICTORIN_BINS values (channel after channel) and
// `maxima` PICTORIN_CHANNELS, each the largest count of its channel. Channels outside the
// mask are zeroed. `bytesPerPixel` and `colorChannels` must both be 3.
BOOL HistogramFromDIB(const BYTE* bits, int bytesPerPixel, int colorChannels, int width, int height, int stride,
                      int channelMask, DWORD* counts, DWORD* maxima);
// Draws the channels of `channelMask` as curves over what the rectangle shows, each
// scaled to its maximum: channel n in colors[n], for the first `colorCount` channels. The
// five trailing values are reserved (0). FALSE without a device context or a rectangle.
BOOL DrawHistogram(HDC hDC, const RECT* lpRect, int colorCount, int channelMask, const DWORD* counts,
                   const DWORD* maxima, const COLORREF* colors, int reserved1, int reserved2, int reserved3,
                   int reserved4, int reserved5);

}  // extern "C"
