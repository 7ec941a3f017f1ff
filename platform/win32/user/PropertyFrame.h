// The modal frame of OleCreatePropertyFrame (see com/olectl.h). It is the site of every
// page it hosts: it creates the pages, hands them the objects, activates them into its
// page area, switches between them with its tab buttons, applies them on OK, and on
// closing deactivates them and takes the objects and itself back before releasing them.
// The frame lives for one call on the caller's stack; its reference count only tells
// whether a page still holds the site.
#pragma once

#include <com/ComPtr.h>
#include <com/RefCount.h>
#include <com/ocidl.h>

#include <string>
#include <vector>

namespace plat {

class PropertyFrame final : public IPropertyPageSite {
 public:
  // Titled "<caption> Properties", or "Properties" without a caption.
  explicit PropertyFrame(LPCOLESTR caption);
  ~PropertyFrame();
  PropertyFrame(const PropertyFrame&) = delete;
  PropertyFrame& operator=(const PropertyFrame&) = delete;

  // Creates the pages and gives them the site and the objects; the first failure is returned.
  HRESULT addPages(ULONG cObjects, IUnknown** objects, ULONG cPages, const CLSID* clsids);
  // Shows the frame at x, y over `owner` until it is closed.
  HRESULT run(HWND owner, int x, int y);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IPropertyPageSite
  STDMETHODIMP OnStatusChange(DWORD dwFlags) override;
  STDMETHODIMP GetLocaleID(LCID* pLocaleID) override;
  STDMETHODIMP GetPageContainer(IUnknown** ppUnk) override;
  STDMETHODIMP TranslateAccelerator(LPMSG pMsg) override;

  // Ids of the frame's controls: the tab of page i is kFirstTab + i.
  static constexpr int kFirstTab = 0x3000;

 private:
  struct Page {
    ComPtr<IPropertyPage> page;
    std::string title;
    SIZE size{};
  };

  static INT_PTR CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
  bool onCommand(int id);
  void activatePages();
  void select(std::size_t index);
  void applyPages();
  void releasePages();
  SIZE pageAreaSize() const;

  RefCount m_refs;
  std::string m_title;
  std::vector<Page> m_pages;
  HWND m_frame = nullptr;
  RECT m_pageArea{};
  std::size_t m_current = 0;
};

}  // namespace plat
