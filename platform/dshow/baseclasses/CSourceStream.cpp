#include <dshow/baseclasses/CSourceStream.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CSource.h>
#include <dshow/evcode.h>
#include <machine/StreamActivity.h>

CSourceStream::CSourceStream(const char* pObjectName, HRESULT* phr, CSource* pms, LPCWSTR pName)
    : CBaseOutputPin(pObjectName, pms, pms->pStateLock(), phr, pName), m_pFilter(pms) {
  const HRESULT hr = m_pFilter->AddPin(this);
  if (phr && FAILED(hr)) *phr = hr;
}

CSourceStream::~CSourceStream() {
  if (m_thread.joinable()) {
    Stop();
    Exit();
    m_thread.join();
  }
  m_pFilter->RemovePin(this);
}

HRESULT CSourceStream::CheckMediaType(const CMediaType* pMediaType) {
  CAutoLock lock(m_pFilter->pStateLock());
  CMediaType mine;
  if (GetMediaType(&mine) != S_OK) return E_FAIL;
  return mine == *pMediaType ? S_OK : E_FAIL;
}

HRESULT CSourceStream::GetMediaType(int iPosition, CMediaType* pMediaType) {
  CAutoLock lock(m_pFilter->pStateLock());
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  return GetMediaType(pMediaType);
}

HRESULT CSourceStream::GetMediaType(CMediaType*) { return E_UNEXPECTED; }

HRESULT CSourceStream::Active() {
  CAutoLock lock(m_pFilter->pStateLock());
  if (m_pFilter->IsActive()) return S_FALSE;
  if (!IsConnected()) return S_OK;
  HRESULT hr = CBaseOutputPin::Active();
  if (FAILED(hr)) return hr;
  if (m_thread.joinable()) return S_FALSE;
  {
    std::lock_guard guard(m_cmdLock);
    m_request.reset();
    m_reply.reset();
  }
  m_thread = plat::StreamActivity::instance().startThread("source stream", [this] { ThreadProc(); });
  hr = Init();
  if (FAILED(hr)) {
    m_thread.join();
    return hr;
  }
  return Pause();
}

HRESULT CSourceStream::Inactive() {
  CAutoLock lock(m_pFilter->pStateLock());
  if (!IsConnected()) return S_OK;
  // Decommit first: a thread waiting for a buffer wakes up and sees the command.
  const HRESULT hr = CBaseOutputPin::Inactive();
  if (m_thread.joinable()) {
    Stop();
    Exit();
    m_thread.join();
  }
  return hr;
}

HRESULT CSourceStream::CallWorker(Command cmd) {
  std::lock_guard call(m_callLock);
  plat::StreamActivity& activity = plat::StreamActivity::instance();
  std::unique_lock guard(m_cmdLock);
  if (!m_thread.joinable()) return E_UNEXPECTED;
  m_request = cmd;
  m_reply.reset();
  activity.notify(&m_cmdLock);
  guard.unlock();
  OnCommandPending();
  guard.lock();
  activity.wait(&m_cmdLock, [&] { return m_reply.has_value(); }, std::nullopt, &guard);
  const HRESULT hr = *m_reply;
  m_reply.reset();
  return hr;
}

CSourceStream::Command CSourceStream::GetRequest() {
  std::unique_lock guard(m_cmdLock);
  plat::StreamActivity::instance().wait(&m_cmdLock, [&] { return m_request.has_value(); }, std::nullopt, &guard);
  return *m_request;
}

BOOL CSourceStream::CheckRequest(Command* pCom) {
  std::lock_guard guard(m_cmdLock);
  if (!m_request) return FALSE;
  if (pCom) *pCom = *m_request;
  return TRUE;
}

void CSourceStream::Reply(HRESULT hr) {
  std::lock_guard guard(m_cmdLock);
  m_request.reset();
  m_reply = hr;
  plat::StreamActivity::instance().notify(&m_cmdLock);
}

DWORD CSourceStream::ThreadProc() {
  Command com = GetRequest();
  while (com != CMD_INIT) {
    Reply(E_UNEXPECTED);
    if (com == CMD_EXIT) return 1;
    com = GetRequest();
  }
  HRESULT hr = OnThreadCreate();
  if (FAILED(hr)) {
    OnThreadDestroy();
    Reply(hr);
    return 1;
  }
  Reply(S_OK);
  do {
    com = GetRequest();
    switch (com) {
      case CMD_EXIT:
      case CMD_STOP:
        Reply(S_OK);
        break;
      case CMD_RUN:
      case CMD_PAUSE:
        Reply(S_OK);
        DoBufferProcessingLoop();
        break;
      default:
        Reply(E_NOTIMPL);
        break;
    }
  } while (com != CMD_EXIT);
  OnThreadDestroy();
  return 0;
}

HRESULT CSourceStream::DoBufferProcessingLoop() {
  OnThreadStartPlay();
  Command com = CMD_STOP;
  do {
    while (!CheckRequest(&com)) {
      IMediaSample* sample = nullptr;
      HRESULT hr = GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
      if (FAILED(hr)) {
        // Decommitted under us: nothing to do until the filter says what next.
        GetRequest();
        continue;
      }
      hr = FillBuffer(sample);
      if (hr == S_OK) {
        hr = Deliver(sample);
        sample->Release();
        if (hr != S_OK) return S_OK;  // downstream refused: wait for the next command
      } else if (hr == S_FALSE) {
        sample->Release();
        DeliverEndOfStream();
        return S_OK;
      } else {
        sample->Release();
        DeliverEndOfStream();
        m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
        return hr;
      }
    }
    // Pause and run while looping only change how the stream paces itself.
    if (com == CMD_RUN || com == CMD_PAUSE) Reply(S_OK);
  } while (com != CMD_STOP && com != CMD_EXIT);
  return S_FALSE;
}
