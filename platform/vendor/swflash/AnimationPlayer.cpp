#include <vendor/swflash/AnimationPlayer.h>

#include <atl/ServerModule.h>
#include <machine/EventLog.h>
#include <machine/Machine.h>
#include <win32/codepage.h>
#include <win32/gdi.h>

#include <new>

namespace plat {

atl::ServerModule& AnimationPlayerServer();

AnimationPlayer::AnimationPlayer() { AnimationPlayerServer().objectCreated(); }

AnimationPlayer::~AnimationPlayer() { AnimationPlayerServer().objectDestroyed(); }

HRESULT AnimationPlayer::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto* player = new (std::nothrow) AnimationPlayer;
  if (!player) return E_OUTOFMEMORY;
  const HRESULT hr = player->QueryInterface(iid, out);
  player->Release();
  return hr;
}

STDMETHODIMP AnimationPlayer::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleObject) *out = static_cast<IOleObject*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) *out = static_cast<IOleInPlaceObject*>(this);
  else if (iid == IID_IAnimationPlayer) *out = static_cast<IAnimationPlayer*>(this);
  else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) AnimationPlayer::AddRef() { return ++m_refs; }

STDMETHODIMP_(ULONG) AnimationPlayer::Release() {
  const ULONG left = --m_refs;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP AnimationPlayer::GetUserClassID(CLSID* pClsid) {
  if (!pClsid) return E_POINTER;
  *pClsid = CLSID_AnimationPlayer;
  return S_OK;
}

void AnimationPlayer::log(const std::string& text) const {
  EventLog::events(Machine::current()).write("AnimationPlayer", text);
}

void AnimationPlayer::redraw() const {
  if (window()) InvalidateRect(window(), nullptr, TRUE);
}

STDMETHODIMP AnimationPlayer::put_BackgroundColor(long color) {
  m_background = static_cast<COLORREF>(color) & 0xFFFFFF;
  redraw();
  return S_OK;
}

STDMETHODIMP AnimationPlayer::LoadMovie(int layer, BSTR url) {
  if (layer != 0) return S_OK;
  char text[MAX_PATH * 2] = {};
  if (url) WideCharToMultiByte(CP_ACP, 0, url, -1, text, sizeof text - 1, nullptr, nullptr);
  m_movie = text;
  m_playing = false;
  log("LoadMovie " + m_movie);
  redraw();
  return S_OK;
}

STDMETHODIMP AnimationPlayer::Play() {
  m_playing = true;
  log("Play");
  redraw();
  return S_OK;
}

STDMETHODIMP AnimationPlayer::Stop() {
  m_playing = false;
  log("Stop");
  redraw();
  return S_OK;
}

bool AnimationPlayer::OnWindowMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message != WM_ERASEBKGND) return false;
  result = 1;
  return true;
}

// The background, a frame inset by a tenth of the size and the movie's file name in it.
void AnimationPlayer::OnDraw(HDC hdc, const RECT& bounds) {
  HBRUSH background = CreateSolidBrush(m_background);
  FillRect(hdc, &bounds, background);
  DeleteObject(background);
  if (m_movie.empty()) return;
  const int insetX = (bounds.right - bounds.left) / 10;
  const int insetY = (bounds.bottom - bounds.top) / 10;
  RECT frame{bounds.left + insetX, bounds.top + insetY, bounds.right - insetX, bounds.bottom - insetY};
  const COLORREF ink = m_playing ? RGB(120, 190, 230) : RGB(110, 120, 130);
  HPEN pen = CreatePen(PS_SOLID, 3, ink);
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
  Rectangle(hdc, frame.left, frame.top, frame.right, frame.bottom);
  SelectObject(hdc, oldBrush);
  SelectObject(hdc, oldPen);
  DeleteObject(pen);
  const std::size_t slash = m_movie.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? m_movie : m_movie.substr(slash + 1);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, ink);
  DrawTextA(hdc, name.c_str(), -1, &frame, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace plat
