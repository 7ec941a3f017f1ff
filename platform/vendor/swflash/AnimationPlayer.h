// The animation player control ("Filter\swflash.ocx"): a windowed control that a
// container in-place activates (IOleObject::DoVerb) in its window. It plays no real
// animation: it fills its window with its background colour and draws a placeholder frame
// naming the movie it holds and whether it plays, so a screenshot shows which movie is
// on. Each call is written to the machine's events.log ("AnimationPlayer<TAB>…").
#pragma once

#include <atl/ControlBase.h>
#include <vendor/swflash/swflash.h>

#include <atomic>
#include <string>

namespace plat {

class AnimationPlayer : public atl::ControlBase, public IAnimationPlayer {
 public:
  static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out);

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetUserClassID(CLSID* pClsid) override;

  STDMETHODIMP put_BackgroundColor(long color) override;
  STDMETHODIMP LoadMovie(int layer, BSTR url) override;
  STDMETHODIMP Play() override;
  STDMETHODIMP Stop() override;

 protected:
  bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnDraw(HDC hdc, const RECT& bounds) override;

 private:
  AnimationPlayer();
  ~AnimationPlayer() override;
  void log(const std::string& text) const;
  void redraw() const;

  std::atomic<ULONG> m_refs{1};
  COLORREF m_background = RGB(0, 0, 0);
  std::string m_movie;
  bool m_playing = false;
};

}  // namespace plat
