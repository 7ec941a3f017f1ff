#include <com/olectl.h>

#include <win32/gdi/BitmapObject.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/OlePicture.h>
#include <win32/gdi/PictureFile.h>

#include <vector>

namespace {

// The stream's bytes: `size` of them, or all that are left when size is 0.
bool readStream(IStream* stream, LONG size, std::vector<std::uint8_t>& out) {
  constexpr ULONG kChunk = 64 * 1024;
  for (;;) {
    const ULONG want = size > 0 ? static_cast<ULONG>(size - static_cast<LONG>(out.size())) : kChunk;
    if (size > 0 && want == 0) return true;
    const std::size_t at = out.size();
    out.resize(at + want);
    ULONG got = 0;
    const HRESULT hr = stream->Read(out.data() + at, want, &got);
    out.resize(at + got);
    if (FAILED(hr)) return false;
    if (got == 0) return size <= 0;
  }
}

}  // namespace

HRESULT OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL, REFIID riid, LPVOID* lplpvObj) {
  if (!lplpvObj) return E_POINTER;
  *lplpvObj = nullptr;
  if (!lpstream || lSize < 0) return E_INVALIDARG;
  std::vector<std::uint8_t> bytes;
  if (!readStream(lpstream, lSize, bytes)) return CTL_E_INVALIDPICTURE;
  auto picture = plat::PictureFile::decode(bytes);
  if (!picture) return CTL_E_INVALIDPICTURE;
  const int width = picture->pixels.width();
  const int height = picture->pixels.height();
  const HBITMAP bitmap = static_cast<HBITMAP>(
      plat::GdiTable::instance().add(std::make_shared<plat::BitmapObject>(std::move(picture->pixels), false)));
  auto* object = new plat::OlePicture(bitmap, width, height);
  const HRESULT hr = object->QueryInterface(riid, lplpvObj);
  object->Release();
  return hr;
}
