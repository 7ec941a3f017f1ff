#include "skin/CSkinStatic.h"

#include "skin/SkinBitmap.h"

namespace {

constexpr int kFirstPictureCommand = 5004;

}  // namespace

BEGIN_MESSAGE_MAP(CSkinStatic, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinStatic::CSkinStatic() : m_hPictures{}, m_hCurrent(nullptr) {}

CSkinStatic::~CSkinStatic() {
  DestroyWindow();
  for (HBITMAP& hPicture : m_hPictures) ReleaseBitmap(hPicture);
  ReleaseBitmap(m_hCurrent);
}

BOOL CSkinStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

HBITMAP CSkinStatic::CopyPicture(HBITMAP hSource) {
  BITMAP bm{};
  if (!hSource || !GetObject(hSource, sizeof bm, &bm)) return nullptr;
  return CutBitmap(hSource, 0, 0, bm.bmWidth, bm.bmHeight);
}

void CSkinStatic::SetBitmaps(HBITMAP hP1, HBITMAP hP2, HBITMAP hP3, HBITMAP hP4, HBITMAP hP5, HBITMAP hP6) {
  const HBITMAP sources[kPictureCount] = {hP1, hP2, hP3, hP4, hP5, hP6};
  for (int i = 0; i < kPictureCount; ++i) {
    ReleaseBitmap(m_hPictures[i]);
    m_hPictures[i] = CopyPicture(sources[i]);
  }
  ReleaseBitmap(m_hCurrent);
  m_hCurrent = CopyPicture(hP1);
}

void CSkinStatic::ShowPictureForCommand(CDC*, int nCommandId) {
  const int nPicture = nCommandId - kFirstPictureCommand;
  if (nPicture >= 0 && nPicture < kPictureCount) {
    ReleaseBitmap(m_hCurrent);
    m_hCurrent = CopyPicture(m_hPictures[nPicture]);
  }
  Invalidate();
}

void CSkinStatic::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  dc.SetStretchBltMode(COLORONCOLOR);
  StretchWholeBitmap(dc, rcClient, m_hCurrent);
}
