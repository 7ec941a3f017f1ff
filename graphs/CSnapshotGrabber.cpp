#include "graphs/CSnapshotGrabber.h"

#include "graphs/CaptureFileNames.h"

#include <win32/file.h>
#include <win32/handleapi.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

constexpr WCHAR kName[] = L"Talvik_Image Grabber";
constexpr DWORD kFileHeaderSize = 14;
constexpr DWORD kInfoHeaderSize = 40;

void Put16(BYTE* at, std::uint16_t value) {
  at[0] = static_cast<BYTE>(value);
  at[1] = static_cast<BYTE>(value >> 8);
}

void Put32(BYTE* at, std::uint32_t value) {
  Put16(at, static_cast<std::uint16_t>(value));
  Put16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

// Truncated toward zero, then clamped to a byte.
BYTE ToByte(double value) { return static_cast<BYTE>(std::clamp(static_cast<int>(value), 0, 255)); }

bool WriteAll(HANDLE file, const BYTE* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

CSnapshotGrabber::CSnapshotGrabber(IGraphBuilder* graph) : m_pGrabber(nullptr) { SetGraph(graph); }

CSnapshotGrabber::~CSnapshotGrabber() { Remove(); }

BOOL CSnapshotGrabber::AddToGraph() {
  // A filter still in the graph (S_FALSE) or renamed there is in the graph all the same.
  if (m_pFilter) return m_pGraph && SUCCEEDED(m_pGraph->AddFilter(m_pFilter, kName));
  if (FAILED(CreateAndAddFilter(m_pGraph, CLSID_QxmImageGrabber, kName, &m_pFilter))) return FALSE;
  if (m_pFilter->QueryInterface(IID_IQxmImageGrabber, reinterpret_cast<void**>(&m_pGrabber)) == S_OK) return TRUE;
  // A filter without its interface is of no use; leave the wrapper empty for another try.
  RemoveFromGraph();
  return FALSE;
}

void CSnapshotGrabber::RemoveFromGraph() {
  // The interface holds the filter too; let it go so the filter leaves with the graph.
  if (m_pGrabber) m_pGrabber->Release();
  m_pGrabber = nullptr;
  CFilterWrapper::RemoveFromGraph();
}

void CSnapshotGrabber::Remove() {
  m_names.RemoveAll();
  RemoveFromGraph();
}

BOOL CSnapshotGrabber::GetFrameBufferSize(long* size) {
  return m_pGrabber && m_pGrabber->GetFrameBufferSize(size) == S_OK;
}

HRESULT CSnapshotGrabber::CopyFrame(BYTE* buffer, long size) {
  return m_pGrabber ? m_pGrabber->CopyFrame(buffer, size) : E_FAIL;
}

BOOL CSnapshotGrabber::GetFrameWidth(long* width) { return m_pGrabber && m_pGrabber->GetFrameWidth(width) == S_OK; }

BOOL CSnapshotGrabber::GetFrameHeight(long* height) {
  return m_pGrabber && m_pGrabber->GetFrameHeight(height) == S_OK;
}

std::unique_ptr<BYTE[]> CSnapshotGrabber::GrabFrame(long* width, long* height) {
  long size = 0;
  if (!GetFrameBufferSize(&size) || size <= 0) return nullptr;
  std::vector<BYTE> packed(static_cast<size_t>(size));
  if (CopyFrame(packed.data(), size) == E_FAIL) return nullptr;
  // The second copy tells whether a new picture passed; anything but S_OK gives none.
  if (CopyFrame(packed.data(), size) != S_OK) return nullptr;
  long w = 0;
  long h = 0;
  std::unique_ptr<BYTE[]> rgb = ConvertFrame(packed, w, h);
  if (rgb && width) *width = w;
  if (rgb && height) *height = h;
  return rgb;
}

BOOL CSnapshotGrabber::SaveSnapshot(LPCSTR folder, int /*extra*/) {
  long size = 0;
  if (!GetFrameBufferSize(&size) || size <= 0) return FALSE;
  std::vector<BYTE> packed(static_cast<size_t>(size));
  // Only a picture that was really copied is written.
  if (CopyFrame(packed.data(), size) != S_OK) return FALSE;
  long width = 0;
  long height = 0;
  const std::unique_ptr<BYTE[]> rgb = ConvertFrame(packed, width, height);
  return rgb && WriteBmpFile(folder, rgb.get(), width, height);
}

std::unique_ptr<BYTE[]> CSnapshotGrabber::ConvertFrame(const std::vector<BYTE>& packed, long& width, long& height) {
  if (!GetFrameWidth(&width) || !GetFrameHeight(&height)) return nullptr;
  if (width <= 0 || height <= 0 || width % 2 || height % 2) return nullptr;
  if (static_cast<size_t>(width) * static_cast<size_t>(height) * 2 != packed.size()) return nullptr;
  const int w = static_cast<int>(width);
  const int h = static_cast<int>(height);
  const Planes planes = SplitPlanes(packed.data(), w, h);
  return PlanesToRgb(planes.y.data(), planes.u.data(), planes.v.data(), w, h);
}

CSnapshotGrabber::Planes CSnapshotGrabber::SplitPlanes(const BYTE* packed, int width, int height) {
  const size_t w = static_cast<size_t>(width);
  const size_t h = static_cast<size_t>(height);
  Planes planes;
  planes.y.resize(w * h);
  planes.u.resize(w / 2 * (h / 2));
  planes.v.resize(planes.u.size());
  BYTE* y = planes.y.data();
  BYTE* u = planes.u.data();
  BYTE* v = planes.v.data();
  for (size_t row = 0; row + 1 < h; row += 2) {
    const BYTE* first = packed + row * w * 2;
    for (size_t pair = 0; pair < w / 2; ++pair, first += 4) {
      *y++ = first[0];
      *u++ = first[1];
      *y++ = first[2];
      *v++ = first[3];
    }
    const BYTE* second = packed + (row + 1) * w * 2;
    for (size_t pair = 0; pair < w / 2; ++pair, second += 4) {
      *y++ = second[0];
      *y++ = second[2];
    }
  }
  return planes;
}

std::unique_ptr<BYTE[]> CSnapshotGrabber::PlanesToRgb(const BYTE* y, const BYTE* u, const BYTE* v, int width,
                                                      int height) {
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  std::unique_ptr<BYTE[]> rgb(new (std::nothrow) BYTE[rowBytes * static_cast<size_t>(height)]);
  if (!rgb) return nullptr;
  const int chromaWidth = width / 2;
  for (int row = 0; row < height; ++row) {
    // Bitmap rows run bottom to top.
    BYTE* out = rgb.get() + static_cast<size_t>(height - 1 - row) * rowBytes;
    const size_t chromaRow = static_cast<size_t>(row * (height / 2) / height) * static_cast<size_t>(chromaWidth);
    for (int x = 0; x < width; ++x) {
      const size_t chroma = chromaRow + static_cast<size_t>(x * chromaWidth / width);
      const double luma = 1.1644 * (y[static_cast<size_t>(row) * static_cast<size_t>(width) + x] - 16);
      const int cb = u[chroma] - 128;
      const int cr = v[chroma] - 128;
      *out++ = ToByte(luma + 2.0172 * cb);
      *out++ = ToByte(luma - 0.3918 * cb - 0.813 * cr);
      *out++ = ToByte(luma + 1.596 * cr);
    }
  }
  return rgb;
}

BOOL CSnapshotGrabber::WriteBmpFile(LPCSTR folder, const BYTE* rgb, long width, long height) {
  const CString path = CString(folder) + NextCaptureFileName(folder, "*.bmp", ".bmp", m_names);
  // Bitmap rows are padded to four bytes; for widths of a multiple of four there is none.
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  const size_t stride = (rowBytes + 3) / 4 * 4;
  std::vector<BYTE> pixels(stride * static_cast<size_t>(height));
  for (long row = 0; row < height; ++row)
    std::copy_n(rgb + row * rowBytes, rowBytes, pixels.begin() + static_cast<std::ptrdiff_t>(row * stride));
  const auto imageSize = static_cast<DWORD>(pixels.size());

  BYTE fileHeader[kFileHeaderSize] = {};
  Put16(fileHeader, 0x4D42);  // "BM"
  Put32(fileHeader + 2, kFileHeaderSize + kInfoHeaderSize + imageSize);
  Put32(fileHeader + 10, kFileHeaderSize + kInfoHeaderSize);
  BYTE infoHeader[kInfoHeaderSize] = {};
  Put32(infoHeader, kInfoHeaderSize);
  Put32(infoHeader + 4, static_cast<std::uint32_t>(width));
  Put32(infoHeader + 8, static_cast<std::uint32_t>(height));
  Put16(infoHeader + 12, 1);
  Put16(infoHeader + 14, 24);
  Put32(infoHeader + 20, imageSize);

  HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return FALSE;
  const bool written = WriteAll(file, fileHeader, kFileHeaderSize) && WriteAll(file, infoHeader, kInfoHeaderSize) &&
                       WriteAll(file, pixels.data(), imageSize);
  CloseHandle(file);
  return written;
}
