// The AVI Mux: interleaves its input streams (video with a VIDEOINFOHEADER, uncompressed
// or compressed, and sound with a WAVEFORMATEX) into a RIFF AVI file, written through the
// IStream of the pin it feeds (the File Writer). Inputs grow: when the last free one connects, another
// appears ("Input 01", "Input 02" …). The header is written with room to spare when the
// graph starts; every sample is one chunk in the 'movi' list as it arrives; when every
// stream has ended, or at the latest when the graph stops, the 'idx1' index is appended
// and the header rewritten with the totals, so the file is a complete AVI any player
// reads.
#pragma once

#include <dshow/baseclasses/CBaseFilter.h>
#include <dshow/baseclasses/setup.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

class AviMux : public CBaseFilter {
 public:
  AviMux(LPUNKNOWN outer, HRESULT* phr);
  ~AviMux() override;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kSetup;

  int GetPinCount() override;
  CBasePin* GetPin(int n) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;

 private:
  class InputPin;
  class OutputPin;
  friend class InputPin;
  friend class OutputPin;

  struct Stream {
    InputPin* pin;
    bool video;
    std::string chunkId;  // "00db", "01wb" …
    std::vector<BYTE> format;
    DWORD chunks = 0;
    ULONGLONG bytes = 0;
    DWORD largest = 0;
    bool ended = false;
  };
  struct IndexEntry {
    std::string id;
    DWORD flags;
    DWORD offset;
    DWORD size;
  };

  void addInput();
  HRESULT start();
  HRESULT writeChunk(InputPin* pin, IMediaSample* sample);
  void endOfStream(InputPin* pin);
  HRESULT finish();
  std::vector<BYTE> header() const;
  HRESULT writeAt(ULONGLONG position, const std::vector<BYTE>& bytes);

  CCritSec m_lock;
  std::vector<std::unique_ptr<InputPin>> m_inputs;
  std::unique_ptr<OutputPin> m_output;
  std::mutex m_writeLock;
  std::vector<Stream> m_streams;
  std::vector<IndexEntry> m_index;
  ULONGLONG m_position = 0;  // where the next chunk goes
  ULONGLONG m_moviType = 0;  // where the 'movi' list's type lies, which index offsets count from
  bool m_writing = false;
  bool m_finished = false;
};

}  // namespace plat
