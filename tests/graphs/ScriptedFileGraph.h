// A stand-in graph manager for a file whose length and answers the test chooses: it
// "renders" any path, runs, pauses and stops as told, and seeks within a duration of its
// own, recording every position and rate it is given. Events, the video window and the
// basic interfaces are those of a real graph manager behind it.
#pragma once

#include "GraphBuilderStub.h"

#include <com/ComPtr.h>
#include <dshow/dshow.h>

#include <string>
#include <vector>

namespace test {

class ScriptedFileGraph : public GraphBuilderStub, public IMediaControl, public IMediaSeeking {
 public:
  struct Seek {
    LONGLONG current;
    DWORD currentFlags;
    bool withStop;
    DWORD stopFlags;
  };

  explicit ScriptedFileGraph(IGraphBuilder* engine);
  virtual ~ScriptedFileGraph() = default;
  ScriptedFileGraph(const ScriptedFileGraph&) = delete;
  ScriptedFileGraph& operator=(const ScriptedFileGraph&) = delete;

  // What the test sets and reads.
  HRESULT renderAnswer = S_OK;
  HRESULT runAnswer = S_OK;
  HRESULT stopAnswer = S_OK;
  HRESULT rateAnswer = S_OK;
  HRESULT positionAnswer = S_OK;
  LONGLONG duration = 0;  // 100 ns units
  LONGLONG position = 0;
  OAFilterState state = State_Stopped;
  bool mediaTimeSet = false;
  std::vector<std::wstring> rendered;
  std::vector<Seek> seeks;
  std::vector<double> rates;
  int runs = 0;
  int pauses = 0;
  int stops = 0;
  ULONG references() const { return m_references; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
  STDMETHODIMP_(ULONG) Release() override;

  // IGraphBuilder: only a file is rendered.
  STDMETHODIMP RenderFile(LPCWSTR file, LPCWSTR) override;

  // IMediaControl
  STDMETHODIMP Run() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP GetState(LONG, OAFilterState* pfs) override;
  STDMETHODIMP RenderFile(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP AddSourceFilter(BSTR, IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP get_FilterCollection(IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP get_RegFilterCollection(IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP StopWhenReady() override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IMediaSeeking: media time only.
  STDMETHODIMP SetTimeFormat(const GUID* format) override;
  STDMETHODIMP GetDuration(LONGLONG* pDuration) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* pCurrent) override;
  STDMETHODIMP SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) override;
  STDMETHODIMP SetRate(double dRate) override;
  STDMETHODIMP GetCapabilities(DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP CheckCapabilities(DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP IsFormatSupported(const GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryPreferredFormat(GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTimeFormat(GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP IsUsingTimeFormat(const GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetStopPosition(LONGLONG*) override { return E_NOTIMPL; }
  STDMETHODIMP ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetPositions(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  STDMETHODIMP GetAvailable(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  STDMETHODIMP GetRate(double*) override { return E_NOTIMPL; }
  STDMETHODIMP GetPreroll(LONGLONG*) override { return E_NOTIMPL; }

 private:
  plat::ComPtr<IGraphBuilder> m_engine;
  ULONG m_references = 1;
};

}  // namespace test
