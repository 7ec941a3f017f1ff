// The A-law audio compressor: 16-bit PCM to 8-bit G.711 A-law at the same rate and
// channels, a byte a sample. Offered in the audio compressor category; never inserted by
// intelligent connect.
#pragma once

#include <dshow/baseclasses/CTransformFilter.h>
#include <dshow/mediafiles.h>

// {6A1C4D32-2E5F-4B7A-9C8D-0E1F2A3B4C51}
DEFINE_GUID(CLSID_AlawCompressor, 0x6A1C4D32, 0x2E5F, 0x4B7A, 0x9C, 0x8D, 0x0E, 0x1F, 0x2A, 0x3B, 0x4C, 0x51);

namespace plat {

class AlawCompressor : public CTransformFilter {
 public:
  static constexpr const wchar_t* kName = L"G.711 A-law Compressor";

  explicit AlawCompressor(LPUNKNOWN outer);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) override;
  HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut) override;

  // One sample, G.711 A-law.
  static BYTE encode(short pcm);
};

}  // namespace plat
