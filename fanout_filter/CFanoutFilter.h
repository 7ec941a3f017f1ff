// The fan-out tee of the Branchel module: one input and any number of outputs. Every
// sample that reaches the input goes to every connected output, each output through an
// output queue of its own, so a branch whose renderer blocks does not hold up the
// others. The outputs pass the upstream allocator on: downstream receives the very
// samples upstream delivered, never copies. There is always one unconnected output, so
// a graph builder can connect one more branch: a new pin appears when the last free one
// connects, and a released spare goes away while another free one remains.
//
// Locks. The filter lock (m_Lock, also the lock of every pin) serialises state changes,
// connections, flushing and changes to the pin list. The streaming lock (m_csReceive) is
// held while a sample, an end of stream or a new segment passes down, so delivery never
// holds the filter lock: a flush or a state change can always get in while a branch
// blocks. Whoever needs both takes the filter lock first: Stop (which waits out a
// delivery before the queues go) and changes to the pin list (which delivery walks under
// the streaming lock alone).
#pragma once

#include "fanout_filter/CFanoutInputPin.h"

#include <dshow/baseclasses/streams.h>

#include <atomic>
#include <vector>

// {B84585A5-237B-426B-8B07-3C6616AE7EC9}
DEFINE_GUID(CLSID_FanoutFilter, 0xB84585A5, 0x237B, 0x426B, 0x8B, 0x07, 0x3C, 0x66, 0x16, 0xAE, 0x7E, 0xC9);

class CFanoutOutputPin;

class CFanoutFilter : public CBaseFilter {
  friend class CFanoutInputPin;
  friend class CFanoutOutputPin;

 public:
  // The module's create function.
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);
  ~CFanoutFilter() override;

  // The input, then the outputs in creation order.
  int GetPinCount() override;
  CBasePin* GetPin(int n) override;

  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;

 private:
  static constexpr int kMaxOutputPins = 1000;

  CFanoutFilter(LPUNKNOWN pUnk, HRESULT* phr);

  // A new output named after the next number, held by the filter alone; null on failure.
  CFanoutOutputPin* CreateNextOutputPin();
  // Appends the pin to the list; the graph sees the pin set changed.
  void AddOutputPin(CFanoutOutputPin* pPin);
  // Takes the pin out of the list and deletes it.
  void DeleteOutputPin(CFanoutOutputPin* pPin);
  int GetNumFreePins();
  // Only the first output in the list passes quality messages upstream. Asked by
  // downstream on its streaming thread, so it takes no lock.
  BOOL IsFirstOutputPin(const CFanoutOutputPin* pPin) const { return m_pFirstOutputPin.load() == pPin; }
  // Asks the graph to connect the pin again with the given type.
  HRESULT ReconnectPin(IPin* pPin, const AM_MEDIA_TYPE* pmt);

  CCritSec m_Lock;
  CCritSec m_csReceive;
  CFanoutInputPin m_Input;
  std::vector<CFanoutOutputPin*> m_OutputPinsList;
  std::atomic<CFanoutOutputPin*> m_pFirstOutputPin{nullptr};
  LONG m_NextOutputPinNumber = 0;
  // 1 while no output carries the seeking pass-through; taken with InterlockedExchange.
  LONG volatile m_lCanSeek = 1;
  IMemAllocator* m_pAllocator = nullptr;  // the upstream allocator, counted
};
