// The File Writer: writes the byte stream it receives into the file IFileSinkFilter
// names. A sample goes to the file position its start time gives (a multiplexer's
// convention), or after the last write when it has none. Its input also offers IStream,
// through which a multiplexer seeks back and rewrites its headers; that works after the
// writer stopped too, since the graph stops the writer before the multiplexer. The file
// is created afresh when the graph leaves Stop. End of stream is EC_COMPLETE.
#pragma once

#include <dshow/baseclasses/CBaseFilter.h>
#include <dshow/baseclasses/setup.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

namespace plat {

class FileWriter : public CBaseFilter, public IFileSinkFilter, public IAMFilterMiscFlags {
 public:
  FileWriter(LPUNKNOWN outer, HRESULT* phr);
  ~FileWriter() override;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;

  STDMETHODIMP SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

 private:
  class InputPin;
  friend class InputPin;

  // Writes at `position`; opens the file (keeping what it holds) when it is closed.
  HRESULT writeAt(ULONGLONG position, const BYTE* data, ULONG size);
  HRESULT open(bool truncate);
  void close();

  CCritSec m_lock;
  std::unique_ptr<InputPin> m_pin;
  std::mutex m_fileLock;
  std::wstring m_fileName;
  std::FILE* m_file = nullptr;
  ULONGLONG m_position = 0;  // where the IStream and untimed samples write next
  ULONGLONG m_size = 0;
  bool m_endOfStream = false;
};

}  // namespace plat
