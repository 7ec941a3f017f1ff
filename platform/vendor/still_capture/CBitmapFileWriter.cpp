#include <vendor/still_capture/CBitmapFileWriter.h>

#include <dshow/filters/Yuy2Converter.h>
#include <win32/file.h>
#include <win32/gdi.h>
#include <win32/handleapi.h>

#include <cstdlib>
#include <vector>

namespace {

// The picture's rows as 24-bit bitmap rows (padded to 4 bytes), bottom row first.
std::vector<BYTE> bitmapRows(const BYTE* frame, const VIDEOINFOHEADER& format, bool yuy2, long outStride) {
  const int width = format.bmiHeader.biWidth;
  const int height = std::abs(format.bmiHeader.biHeight);
  const int bytesPerPixel = format.bmiHeader.biBitCount / 8;
  const long inStride = (width * format.bmiHeader.biBitCount + 31) / 32 * 4;
  // YUY2 is stored top row first, RGB bottom row first unless its height is negative.
  const bool topDown = yuy2 || format.bmiHeader.biHeight < 0;
  std::vector<BYTE> rows(static_cast<size_t>(outStride) * height);
  for (int y = 0; y < height; ++y) {
    const BYTE* in = frame + (topDown ? height - 1 - y : y) * inStride;
    BYTE* out = rows.data() + static_cast<size_t>(y) * outStride;
    if (yuy2) {
      plat::Yuy2Converter::toBgr(in, width, out, 3);
      continue;
    }
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) out[x * 3 + c] = in[x * bytesPerPixel + c];
  }
  return rows;
}

}  // namespace

bool CBitmapFileWriter::write(LPCSTR path, const BYTE* frame, long length, const VIDEOINFOHEADER& format, bool yuy2) {
  const int width = format.bmiHeader.biWidth;
  const int height = std::abs(format.bmiHeader.biHeight);
  const long inStride = (width * format.bmiHeader.biBitCount + 31) / 32 * 4;
  if (length < inStride * height) return false;
  const long outStride = (width * 24 + 31) / 32 * 4;
  const std::vector<BYTE> rows = bitmapRows(frame, format, yuy2, outStride);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(rows.size());
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;

  HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(handle, &file, sizeof(file), &written, nullptr) && written == sizeof(file);
  ok = ok && WriteFile(handle, &info, sizeof(info), &written, nullptr) && written == sizeof(info);
  ok = ok && WriteFile(handle, rows.data(), info.biSizeImage, &written, nullptr) && written == info.biSizeImage;
  CloseHandle(handle);
  return ok;
}
