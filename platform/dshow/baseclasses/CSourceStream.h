// An output pin of a CSource that fills and delivers samples on a thread of its own.
// The thread is made when the filter leaves Stop and ends when it returns; the filter
// talks to it with commands (init, pause, run, stop, exit), each answered before the
// caller goes on. While paused or running, DoBufferProcessingLoop takes a buffer,
// FillBuffer fills it (S_FALSE: the stream has ended) and Deliver sends it, until a
// command arrives. When the allocator is decommitted (downstream stopped first) the
// loop waits for the next command instead of spinning.
//
// The thread is a streaming thread (StreamActivity) and its command waits are streaming
// waits, so a manual clock's settle sees it idle only when it truly waits. A stream that
// waits elsewhere (a live source waiting for its next capture) learns of a command through
// OnCommandPending.
#pragma once

#include <dshow/baseclasses/CBaseOutputPin.h>

#include <mutex>
#include <optional>
#include <thread>

class CSource;

class CSourceStream : public CBaseOutputPin {
 public:
  CSourceStream(const char* pObjectName, HRESULT* phr, CSource* pms, LPCWSTR pName);
  ~CSourceStream() override;

  HRESULT CheckMediaType(const CMediaType* pMediaType) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  enum Command { CMD_INIT, CMD_PAUSE, CMD_RUN, CMD_STOP, CMD_EXIT };

 protected:
  using CBaseOutputPin::Run;

  // The single type of a one-type pin (the default GetMediaType(int) offers it).
  virtual HRESULT GetMediaType(CMediaType* pMediaType);
  virtual HRESULT FillBuffer(IMediaSample* pSamp) = 0;
  virtual HRESULT OnThreadCreate() { return S_OK; }
  virtual HRESULT OnThreadDestroy() { return S_OK; }
  virtual HRESULT OnThreadStartPlay() { return S_OK; }
  virtual HRESULT DoBufferProcessingLoop();
  virtual DWORD ThreadProc();
  // A command now waits for the stream thread (called on the commanding thread).
  virtual void OnCommandPending() {}

  // Commands, sent from the filter's thread; each waits for the stream thread's answer.
  HRESULT Init() { return CallWorker(CMD_INIT); }
  HRESULT Exit() { return CallWorker(CMD_EXIT); }
  HRESULT Run() { return CallWorker(CMD_RUN); }
  HRESULT Pause() { return CallWorker(CMD_PAUSE); }
  HRESULT Stop() { return CallWorker(CMD_STOP); }

  // The stream thread's side.
  Command GetRequest();
  BOOL CheckRequest(Command* pCom);
  void Reply(HRESULT hr);

  CSource* m_pFilter;

 private:
  HRESULT CallWorker(Command cmd);

  std::thread m_thread;
  std::mutex m_cmdLock;  // its address keys the command waits
  std::optional<Command> m_request;
  std::optional<HRESULT> m_reply;
  std::mutex m_callLock;  // one command at a time
};
