#include "CxImage.h"

#include "BmpReader.h"
#include "CxImagePixels.h"
#include "JpegReader.h"
#include "PngReader.h"

#include <win32/file.h>
#include <win32/handleapi.h>
#include <win32/gdi.h>

#include <cstring>

namespace {

// The file's bytes, or false when it cannot be opened, read whole or is too large.
bool ReadWholeFile(const char* path, std::vector<std::uint8_t>& bytes, const char*& why) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    why = "file not found";
    return false;
  }
  DWORD high = 0;
  const DWORD low = ::GetFileSize(file, &high);
  if (high != 0 || low > CxImage::kMostFileBytes) {
    ::CloseHandle(file);
    why = "file too large";
    return false;
  }
  bytes.resize(low);
  DWORD read = 0;
  const BOOL ok = low == 0 || ::ReadFile(file, bytes.data(), low, &read, nullptr);
  ::CloseHandle(file);
  if (!ok || read != low) {
    why = "file could not be read";
    return false;
  }
  return true;
}

// The fewest JPEG scale steps that still cover cx x cy: 8, 4, 2 or 1.
int DenominatorFor(unsigned long width, unsigned long height, long cx, long cy) {
  for (int d = 8; d > 1; d /= 2) {
    const long w = static_cast<long>((width + static_cast<unsigned long>(d) - 1) / static_cast<unsigned long>(d));
    const long h = static_cast<long>((height + static_cast<unsigned long>(d) - 1) / static_cast<unsigned long>(d));
    if (w >= cx && h >= cy) return d;
  }
  return 1;
}

}  // namespace

CxImage::CxImage() : m_type(CXIMAGE_FORMAT_UNKNOWN), m_width(0), m_height(0), m_error("") {}

CxImage::CxImage(const char* filename, unsigned long imagetype) : CxImage() { Load(filename, imagetype); }

CxImage::~CxImage() = default;

bool CxImage::Fail(const char* why) {
  m_pixels.reset();
  m_width = m_height = 0;
  m_error = why;
  return false;
}

bool CxImage::Load(const char* filename, unsigned long imagetype) {
  m_type = imagetype;
  if (!filename) return Fail("no file name");
  if (imagetype != CXIMAGE_FORMAT_BMP && imagetype != CXIMAGE_FORMAT_JPG && imagetype != CXIMAGE_FORMAT_PNG)
    return Fail("format not supported");
  auto pixels = std::make_unique<CxImagePixels>();
  const char* why = nullptr;
  if (!ReadWholeFile(filename, pixels->file, why)) return Fail(why);
  if (imagetype == CXIMAGE_FORMAT_JPG) {
    int w = 0, h = 0;
    if ((why = JpegReader::readSize(pixels->file, w, h))) return Fail(why);
    // Loading decodes the smallest scale: it proves the whole file decodes, and is all a
    // thumbnail needs.
    why = JpegReader::read(pixels->file, 8, pixels->picture);
    pixels->denominator = 8;
    m_width = static_cast<unsigned long>(w);
    m_height = static_cast<unsigned long>(h);
  } else {
    why = imagetype == CXIMAGE_FORMAT_BMP ? BmpReader::read(pixels->file, pixels->picture)
                                          : PngReader::read(pixels->file, pixels->picture);
    m_width = static_cast<unsigned long>(pixels->picture.width);
    m_height = static_cast<unsigned long>(pixels->picture.height);
    // Only a JPEG is decoded again; the others need not keep their file.
    pixels->file.clear();
    pixels->file.shrink_to_fit();
  }
  if (why) return Fail(why);
  m_pixels = std::move(pixels);
  m_error = "";
  return true;
}

bool CxImage::IsValid() const { return m_pixels != nullptr; }

unsigned long CxImage::GetWidth() const { return m_width; }

unsigned long CxImage::GetHeight() const { return m_height; }

const char* CxImage::GetLastError() const { return m_error; }

bool CxImage::Decode(long cx, long cy) {
  if (m_type != CXIMAGE_FORMAT_JPG) return true;
  const int wanted = DenominatorFor(m_width, m_height, cx, cy);
  if (wanted >= m_pixels->denominator) return true;
  DecodedPicture larger;
  if (const char* why = JpegReader::read(m_pixels->file, wanted, larger)) {
    m_error = why;
    return false;
  }
  m_pixels->picture = std::move(larger);
  m_pixels->denominator = wanted;
  return true;
}

long CxImage::Stretch(HDC hdc, long xoffset, long yoffset, long xsize, long ysize, unsigned long dwRop) {
  if (!IsValid() || !hdc || xsize <= 0 || ysize <= 0) return 0;
  if (!Decode(xsize, ysize)) return 0;
  const DecodedPicture& picture = m_pixels->picture;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section || !bits) {
    m_error = "no drawing memory";
    return 0;
  }
  std::memcpy(bits, picture.rows.data(), picture.rows.size());
  HDC source = ::CreateCompatibleDC(hdc);
  HGDIOBJ old = ::SelectObject(source, section);
  const int oldMode = ::SetStretchBltMode(hdc, HALFTONE);
  const BOOL drawn = ::StretchBlt(hdc, static_cast<int>(xoffset), static_cast<int>(yoffset), static_cast<int>(xsize),
                                  static_cast<int>(ysize), source, 0, 0, picture.width, picture.height, dwRop);
  if (oldMode) ::SetStretchBltMode(hdc, oldMode);
  ::SelectObject(source, old);
  ::DeleteDC(source);
  ::DeleteObject(section);
  m_error = drawn ? "" : "drawing failed";
  return drawn ? 1 : 0;
}
