// The media detector (CLSID_MediaDet): a media file's streams, the video stream first and
// then the sound, with their media types (video as 24-bit RGB of the file's picture size
// in a VIDEOINFOHEADER, sound as 16-bit PCM in a WAVEFORMATEX), and a picture of the video
// stream decoded at once on the caller's thread with FFmpeg and written as a 24-bit bitmap
// file. A file FFmpeg cannot read has no streams.
#pragma once

#include <dshow/baseclasses/CUnknown.h>
#include <dshow/des/ClipReader.h>
#include <dshow/qedit.h>

#include <mutex>
#include <string>

namespace plat {

class MediaDetector : public CUnknown, public IMediaDet {
 public:
  MediaDetector(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP put_Filename(BSTR newVal) override;
  STDMETHODIMP get_OutputStreams(long* pVal) override;
  STDMETHODIMP put_CurrentStream(long newVal) override;
  STDMETHODIMP get_StreamMediaType(AM_MEDIA_TYPE* pVal) override;
  STDMETHODIMP WriteBitmapBits(double StreamTime, long Width, long Height, BSTR Filename) override;

 private:
  // The largest picture written, a side.
  static constexpr long kMostSide = 8192;

  long streamCount() const { return (m_info.video ? 1 : 0) + (m_info.audio ? 1 : 0); }
  bool currentIsVideo() const { return m_info.video && m_current == 0; }

  std::mutex m_lock;
  std::string m_linuxPath;
  ClipReader::Info m_info;
  bool m_loaded = false;
  long m_current = 0;
};

}  // namespace plat
