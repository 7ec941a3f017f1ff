#include "CMpegEngine.h"

#include <com/objbase.h>
#include <dshow/baseclasses/llMulDiv.h>
#include <win32/codepage.h>
#include <win32/crtdbg.h>
#include <win32/file.h>
#include <win32/handleapi.h>
#include <win32/time.h>
#include <win32/user.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr long kChildVideoStyle = 0x46000000;  // WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
constexpr int kMostNames = 0xFFFF;
// How long a capture waits for the renderer to show the picture of the last seek.
constexpr long kCueWaitMs = 5000;

template <class T>
void Release(T*& itf) {
  if (itf) itf->Release();
  itf = nullptr;
}

bool FileReadable(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

void PutLe(BYTE* at, DWORD value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

// Where the pixel bits start in a packed DIB: after the header, the colour table and,
// for bit-field DIBs with the short header, the three masks.
DWORD BitsOffset(const BITMAPINFOHEADER& header) {
  DWORD entries = header.biClrUsed;
  if (entries == 0 && header.biBitCount <= 8) entries = 1u << header.biBitCount;
  DWORD masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
  return header.biSize + 4 * entries + masks;
}

}  // namespace

CMpegEngine::CMpegEngine() {
  m_comInitialised = SUCCEEDED(CoInitialize(NULL));
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&m_graph));
  _ASSERTE(!FAILED(hr));
}

CMpegEngine::~CMpegEngine() {
  closeFile();
  for (const mpeg_persist_bitmap_s& record : m_captures) DeleteFileA(record.path);
  m_captures.clear();
  if (m_comInitialised) CoUninitialize();
}

void CMpegEngine::releaseInterfaces() {
  Release(m_control);
  Release(m_event);
  Release(pMS);
  Release(pVW);
  Release(m_basicVideo);
}

void CMpegEngine::closeFile() {
  stop();
  if (pVW) {
    pVW->put_Visible(OAFALSE);
    pVW->put_Owner(0);
    pVW->put_MessageDrain(0);
  }
  releaseInterfaces();
  Release(m_graph);
  mpeg_preview_hwnd = nullptr;
  m_cutStart = -1;
  m_cutEnd = -1;
  m_captureCount = 0;
  m_hasFile = 0;
  m_playState = kStopped;
}

bool CMpegEngine::queryInterfaces() {
  releaseInterfaces();
  bool all = SUCCEEDED(m_graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_control)));
  all = SUCCEEDED(m_graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&m_event))) && all;
  all = SUCCEEDED(m_graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&pMS))) && all;
  all = SUCCEEDED(m_graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&pVW))) && all;
  all = SUCCEEDED(m_graph->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&m_basicVideo))) && all;
  return all;
}

void CMpegEngine::attachWindow(HWND video) {
  mpeg_preview_hwnd = video;
  _ASSERTE(::IsWindow (mpeg_preview_hwnd));
  RECT client{};
  GetClientRect(video, &client);
  HRESULT hr = pVW->put_Owner(reinterpret_cast<OAHWND>(video));
  if (SUCCEEDED(hr)) hr = pVW->put_MessageDrain(reinterpret_cast<OAHWND>(video));
  if (SUCCEEDED(hr)) hr = pVW->put_WindowStyle(kChildVideoStyle);
  if (SUCCEEDED(hr)) hr = pVW->put_Left(client.left);
  if (SUCCEEDED(hr)) hr = pVW->put_Top(client.top);
  if (SUCCEEDED(hr)) hr = pVW->put_Width(client.right - client.left);
  if (SUCCEEDED(hr)) hr = pVW->put_Height(client.bottom - client.top);
  _ASSERTE(!FAILED(hr));
}

int CMpegEngine::open(const char* file, HWND video) {
  if (!file) return 0;
  closeFile();
  if (!m_graph && FAILED(CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                          reinterpret_cast<void**>(&m_graph))))
    return 0;
  WCHAR wide[MAX_PATH] = {};
  if (MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH) == 0) return 0;
  if (FAILED(m_graph->RenderFile(wide, NULL))) return 0;
  if (queryInterfaces()) m_hasFile = 1;
  if (pVW && video) attachWindow(video);
  if (m_control) m_control->Stop();
  if (pMS) {
    LONGLONG start = 0;
    pMS->SetPositions(&start, AM_SEEKING_AbsolutePositioning, NULL, AM_SEEKING_NoPositioning);
  }
  if (m_control) m_control->Pause();
  // A graph without the five interfaces cannot be played, seeked or captured: not open.
  return has_video() ? 1 : 0;
}

int CMpegEngine::preview(HWND video) {
  if (video) mpeg_preview_hwnd = video;
  if (!has_video() || m_playState == kRunning) return 0;
  if (FAILED(m_control->Run())) return 0;
  m_playState = kRunning;
  return 1;
}

int CMpegEngine::pause() {
  if (!has_video() || m_playState == kPaused) return 0;
  if (FAILED(m_control->Pause())) return 0;
  m_playState = kPaused;
  return 1;
}

int CMpegEngine::stop() {
  if (!has_video() || m_playState == kStopped) return 0;
  if (FAILED(m_control->Stop())) return 0;
  m_playState = kStopped;
  return 1;
}

bool CMpegEngine::duration(mp_pos_t& out) {
  LONGLONG length = 0;
  if (!pMS || pMS->GetDuration(&length) != S_OK) return false;
  out = length;
  return true;
}

bool CMpegEngine::is_valid_mp_pos_t(mp_pos_t pos) {
  mp_pos_t length = 0;
  return pos >= 0 && duration(length) && pos <= length;
}

bool CMpegEngine::percentPosition(int percent, mp_pos_t& out) {
  mp_pos_t length = 0;
  if (percent < 0 || percent > 100 || !duration(length)) return false;
  // Multiplied first, through a wider product: a duration of centuries still has its percents.
  out = llMulDiv(length, percent, 100, 0);
  return true;
}

int CMpegEngine::moveToFrame(mp_pos_t pos) {
  _ASSERTE(has_video () && pMS != NULL);
  if (!has_video() || !is_valid_mp_pos_t(pos)) return 0;
  if (!pMS) return 1;
  LONGLONG current = pos;
  if (FAILED(pMS->SetPositions(&current, AM_SEEKING_AbsolutePositioning, NULL, AM_SEEKING_NoPositioning))) return 0;
  // A seek made while paused already shows its frame: that is success too.
  if (m_playState == kPaused) return 1;
  return pause();
}

int CMpegEngine::moveToPercent(int percent) {
  mp_pos_t pos = 0;
  if (!pMS || !percentPosition(percent, pos)) return 0;
  return moveToFrame(pos);
}

int CMpegEngine::moveToEnd() {
  mp_pos_t length = 0;
  if (!has_video() || !duration(length)) return 0;
  return moveToFrame(length);
}

void CMpegEngine::setCutStartPercent(int percent) {
  mp_pos_t pos = 0;
  if (pMS && percentPosition(percent, pos)) m_cutStart = pos;
}

void CMpegEngine::setCutEndPercent(int percent) {
  mp_pos_t pos = 0;
  if (pMS && percentPosition(percent, pos)) m_cutEnd = pos;
}

int CMpegEngine::percentToPos(int percent, mp_pos_t* pos) {
  mp_pos_t found = 0;
  if (!pos || !has_video() || !pMS || !percentPosition(percent, found)) return 0;
  *pos = found;
  return 1;
}

int CMpegEngine::currentProgress(double* ratio) {
  LONGLONG current = 0;
  mp_pos_t length = 0;
  if (!ratio || !pMS || FAILED(pMS->GetCurrentPosition(&current)) || !duration(length) || length <= 0) return 0;
  *ratio = static_cast<double>(current) / static_cast<double>(length);
  return 1;
}

int CMpegEngine::videoAutoSize() {
  if (!has_video() || !pVW || !mpeg_preview_hwnd) return 0;
  _ASSERTE(::IsWindow (mpeg_preview_hwnd));
  RECT client{};
  GetClientRect(mpeg_preview_hwnd, &client);
  return SUCCEEDED(pVW->SetWindowPosition(client.left, client.top, client.right - client.left,
                                          client.bottom - client.top))
             ? 1
             : 0;
}

bool CMpegEngine::writeCurrentImage(const char* path) {
  if (!m_basicVideo) return false;
  if (m_control) {
    OAFilterState state = 0;
    m_control->GetState(kCueWaitMs, &state);
  }
  long size = 0;
  if (FAILED(m_basicVideo->GetCurrentImage(&size, NULL)) || size <= static_cast<long>(sizeof(BITMAPINFOHEADER)))
    return false;
  std::vector<long> dib((static_cast<size_t>(size) + sizeof(long) - 1) / sizeof(long));
  if (FAILED(m_basicVideo->GetCurrentImage(&size, dib.data()))) return false;
  Sleep(20);
  BITMAPINFOHEADER header;
  std::memcpy(&header, dib.data(), sizeof(header));
  const DWORD offset = 14 + BitsOffset(header);
  if (header.biSize < sizeof(BITMAPINFOHEADER) || offset > static_cast<DWORD>(size) + 14) return false;
  BYTE fileHeader[14] = {};
  PutLe(fileHeader, 0x4D42, 2);
  PutLe(fileHeader + 2, static_cast<DWORD>(size) + 14, 4);
  PutLe(fileHeader + 10, offset, 4);
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteAll(file, fileHeader, sizeof(fileHeader)) && WriteAll(file, dib.data(), static_cast<DWORD>(size));
  CloseHandle(file);
  // A short file would be listed as a capture and shown broken: none is left.
  if (!written) DeleteFileA(path);
  return written;
}

int CMpegEngine::capture(const char* persist_name) {
  _ASSERTE(NULL != persist_name);
  if (!persist_name || !has_video()) return 0;
  return writeCurrentImage(persist_name) && FileReadable(persist_name) ? 1 : 0;
}

int CMpegEngine::captureAtPercent(const char* path, int percent) {
  mp_pos_t pos = 0;
  if (!pMS || !percentPosition(percent, pos)) return 0;
  return captureAt(path, pos);
}

int CMpegEngine::captureAt(const char* persist_name, mp_pos_t cap_pos) {
  _ASSERTE(is_valid_mp_pos_t (cap_pos) && persist_name != NULL);
  _ASSERTE(pMS !=NULL && pVW != NULL);
  if (!is_valid_mp_pos_t(cap_pos) || !persist_name || !pMS || !m_control) return 0;
  const int remembered = m_playState;
  m_playState = kNone;
  LONGLONG current = 0;
  mp_pos_t length = 0;
  int result = 0;
  bool ready = SUCCEEDED(pMS->GetCurrentPosition(&current)) && duration(length);
  if (ready && remembered != kStopped) ready = stop() == 1;
  LONGLONG start = cap_pos;
  LONGLONG stopAt = cap_pos;
  if (ready)
    ready = SUCCEEDED(pMS->SetPositions(&start, AM_SEEKING_AbsolutePositioning, &stopAt, AM_SEEKING_AbsolutePositioning));
  if (ready) ready = SUCCEEDED(m_control->Run());
  if (ready) result = capture(persist_name);
  if (ready) {
    m_control->Stop();
    // Back to where the clip stood, playing to its end again.
    LONGLONG back = current;
    LONGLONG end = length;
    ready = SUCCEEDED(pMS->SetPositions(&back, AM_SEEKING_AbsolutePositioning, &end, AM_SEEKING_AbsolutePositioning));
  }
  m_playState = kNone;
  if (remembered == kRunning) preview(nullptr);
  if (remembered == kPaused) pause();
  if (remembered == kStopped) stop();
  if (remembered != kRunning && remembered != kPaused && remembered != kStopped) m_playState = remembered;
  return ready ? result : 0;
}

bool CMpegEngine::makeCaptureName(char (&path)[260]) {
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof(folder), folder);
  if (length == 0 || length >= sizeof(path)) return false;
  // The first number is the low half of both marks or-ed together, as a signed long.
  const auto first = static_cast<std::int32_t>(static_cast<std::uint64_t>(m_cutStart | m_cutEnd) & 0xFFFFFFFFu);
  for (long i = m_captureCount; i <= kMostNames; ++i) {
    const int written = std::snprintf(path, sizeof(path), "%scap%ld_%ld.bmp", folder, static_cast<long>(first), i);
    if (written < 0 || written >= static_cast<int>(sizeof(path))) return false;
    // Tested where the file goes, so an earlier capture still listed is never overwritten.
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return true;
  }
  return false;
}

bool CMpegEngine::accept(const mpeg_persist_bitmap_s& record) {
  if (!FileReadable(record.path) || (record.cut_start == -1 && record.cut_end == -1)) return false;
  m_captures.push_back(record);
  return true;
}

int CMpegEngine::captureAndAddToList(const char* path) {
  char name[260] = {};
  if (path) {
    if (std::strlen(path) >= sizeof(name)) return 0;
    std::strcpy(name, path);
  } else if (!makeCaptureName(name)) {
    return 0;
  }
  if (!capture(name)) return 0;
  mpeg_persist_bitmap_s record{};
  record.valid = 1;
  record.cut_start = m_cutStart;
  record.cut_end = m_cutEnd;
  std::memcpy(record.path, name, sizeof(record.path));
  const bool accepted = accept(record);
  ++m_captureCount;
  return accepted ? 1 : 0;
}

int CMpegEngine::captureInfo(mp_pos_t cutStart, mp_pos_t cutEnd, mpeg_persist_bitmap_s* info) {
  if (!info) return 0;
  std::memset(info, 0, sizeof(*info));
  const bool byStart = m_saveStart == 1;
  const mp_pos_t key = byStart ? cutStart : cutEnd;
  if (key == -1) return 0;
  // Newest first: a later clip cut at the same place shows its own frame.
  for (auto it = m_captures.rbegin(); it != m_captures.rend(); ++it) {
    const mp_pos_t mark = byStart ? it->cut_start : it->cut_end;
    if (mark == -1 || mark != key) continue;
    *info = *it;
    return 1;
  }
  return 0;
}

int CMpegEngine::lastCaptureInfo(mpeg_persist_bitmap_s* info) {
  if (!info) return 0;
  std::memset(info, 0, sizeof(*info));
  if (m_captures.empty()) return 0;
  *info = m_captures.back();
  return 1;
}
