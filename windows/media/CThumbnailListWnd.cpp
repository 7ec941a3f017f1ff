#include "windows/media/CThumbnailListWnd.h"

#include "core/MediaListFile.h"
#include "graphs/CFileFrameGrabber.h"
#include "windows/media/MediaFileKinds.h"

#include <com/objbase.h>
#include <com/oleauto.h>
#include <dshow/amvideo.h>
#include <dshow/mtype.h>
#include <dshow/qedit.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>
#include <win32/codepage.h>
#include <win32/file.h>
#include <win32/handleapi.h>
#include <win32/time.h>

#include <cstring>
#include <strings.h>
#include <vector>

namespace {

constexpr UINT UM_LIST_OPEN_ITEM = CImageListView::UM_LIST_OPEN_ITEM;
constexpr COLORREF kListText = 0xFFFFFF;
// The connected grab runs this long before the picture must be written; the rendered one
// this long.
constexpr DWORD kConnectedGrabMs = 80;
constexpr DWORD kRenderedGrabMs = 200;
constexpr std::size_t kRecordSize = sizeof(MediaListRecord);
// A list larger than this is not a list the program wrote.
constexpr DWORD kMostListBytes = 64UL * 1024 * 1024;

constexpr const char* kFolderPictures[] = {"bmp", "gif", "jpg", "png", "pcx", "mng", "ico",
                                           "tga", "tif", "wbmp", "wmf", "jbg", "pgx", "ras"};

bool FileOnDisk(const CString& path) {
  return !path.IsEmpty() && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The whole file, or false when it cannot be read or is too large to be a list.
bool ReadList(LPCSTR path, std::vector<BYTE>& bytes) {
  ::TakeLeftoverFileA(path);
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  const DWORD size = ::GetFileSize(file, &high);
  bool ok = high == 0 && size <= kMostListBytes;
  DWORD read = 0;
  if (ok) {
    bytes.resize(size);
    ok = size == 0 || (::ReadFile(file, bytes.data(), size, &read, nullptr) && read == size);
  }
  ::CloseHandle(file);
  return ok;
}

}  // namespace

BEGIN_MESSAGE_MAP(CThumbnailListWnd, CStatic)
  ON_WM_CREATE()
  ON_MESSAGE(UM_LIST_OPEN_ITEM, OnListOpenItem)
  ON_MESSAGE(UM_THUMB_FLAG, OnThumbFlag)
END_MESSAGE_MAP()

CThumbnailListWnd::CThumbnailListWnd() {
  m_pGrabber = new CFileFrameGrabber;
  if (m_pGrabber->CreateGraph()) m_pGrabber->AddFilters();
}

CThumbnailListWnd::~CThumbnailListWnd() {
  delete m_pGrabber;
  m_pGrabber = nullptr;
  if (m_pListView) {
    if (m_pListView->GetSafeHwnd()) m_pListView->DestroyWindow();
    delete m_pListView;
    m_pListView = nullptr;
  }
  if (m_hWnd) DestroyWindow();
}

BOOL CThumbnailListWnd::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                               BOOL bSingleSelection, COLORREF crBackground, int nStoredValue) {
  m_bSingleSelection = bSingleSelection;
  m_crBackground = crBackground;
  m_nStoredValue = nStoredValue;
  // A plain static lets the mouse through to the window beneath it, list and all.
  return CStatic::Create(lpszText, dwStyle | SS_NOTIFY, rect, pParentWnd, nID);
}

int CThumbnailListWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CStatic::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_pListView) return 0;
  m_pListView = new CImageListView(m_bSingleSelection, m_nStoredValue);
  m_pListView->EnableItemDragging(FALSE);
  m_pListView->EnableSkinScrollBars(FALSE);
  CRect client;
  GetClientRect(&client);
  if (!m_pListView->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, client.Width(), client.Height()), this, kListId)) {
    delete m_pListView;
    m_pListView = nullptr;
    return -1;
  }
  m_pListView->SetBkColor(m_crBackground);
  m_pListView->SetTextBkColor(m_crBackground);
  m_pListView->SetTextColor(kListText);
  m_pListView->ShowWindow(SW_SHOW);
  return 0;
}

void CThumbnailListWnd::SetMargins(int nLeft, int nTop, int nRight, int nBottom) {
  m_rcMargins.SetRect(nLeft, nTop, nRight, nBottom);
}

void CThumbnailListWnd::MoveList(int nLeft, int nTop, int nRight, int nBottom) {
  if (m_pListView && m_pListView->GetSafeHwnd()) m_pListView->MoveWindow(nLeft, nTop, nRight - nLeft, nBottom - nTop, TRUE);
}

void CThumbnailListWnd::Redraw() {
  if (!m_pListView || !m_pListView->GetSafeHwnd()) return;
  m_pListView->Invalidate();
  m_pListView->UpdateWindow();
}

void CThumbnailListWnd::SetNotifyWindow(HWND hWnd) {
  if (hWnd && m_pListView) m_pListView->SetNotifyWindow(hWnd);
}

void CThumbnailListWnd::SetMenuMode(int nMode) {
  if (nMode != -1) m_nMenuMode = nMode;
  if (m_pListView) m_pListView->SetMenuMode(m_nMenuMode);
}

void CThumbnailListWnd::EnableHoverTips(BOOL bEnable) {
  if (m_pListView) m_pListView->EnableHoverTips(bEnable);
}

HWND CThumbnailListWnd::GetListHwnd() const { return m_pListView ? m_pListView->GetSafeHwnd() : nullptr; }

int CThumbnailListWnd::GetItemCount() const {
  return m_pListView && m_pListView->GetSafeHwnd() ? m_pListView->GetItemCount() : -1;
}

int CThumbnailListWnd::GetFirstSelected() const { return m_pListView ? m_pListView->GetFirstSelected() : -1; }

BOOL CThumbnailListWnd::SelectItem(int nIndex) {
  if (nIndex < 0 || !m_pListView) return FALSE;
  if (m_pListView->IsItemSelected(nIndex)) return TRUE;
  return m_pListView->SelectItem(nIndex, FALSE);
}

BOOL CThumbnailListWnd::IsImageFile(LPCSTR lpszPath) {
  const char* dot = lpszPath ? std::strrchr(lpszPath, '.') : nullptr;
  if (!dot) return FALSE;
  for (const char* extension : kFolderPictures)
    if (strcasecmp(dot + 1, extension) == 0) return TRUE;
  return FALSE;
}

BOOL CThumbnailListWnd::AddMediaFile(LPCSTR lpszPath, BOOL bIsVideo, BOOL bToTop) {
  if (!lpszPath || !FileExists(lpszPath)) return FALSE;
  if (bIsVideo && !IsVideoFile(lpszPath)) return FALSE;
  CMediaFileItem item;
  item.SetVideo(bIsVideo ? 1 : 0);
  if (bIsVideo)
    item.SetVideoPath(lpszPath);
  else
    item.SetImagePath(lpszPath);
  item.SetDisplayName(nullptr);
  item.SetInfoText(nullptr);
  return bToTop ? AddItemFirst(&item) : AddItemLast(&item);
}

BOOL CThumbnailListWnd::AddFileIfKnownType(LPCSTR lpszPath, BOOL bIsPicture) {
  if (!lpszPath || !*lpszPath) return FALSE;
  BOOL added = FALSE;
  if (bIsPicture && GetImageFormatFromExtension(lpszPath) != 0)
    added = AddMediaFile(lpszPath, FALSE, FALSE);
  else if (!bIsPicture && IsVideoFile(lpszPath))
    added = AddMediaFile(lpszPath, TRUE, FALSE);
  Redraw();
  return added;
}

bool CThumbnailListWnd::PrepareThumbnail(CMediaFileItem& item) {
  if (!item.IsVideo()) return item.ImageFileExists();
  if (!item.MakeThumbnailName()) return false;
  return FileExists(item.GetImagePath()) || CreateVideoThumbnail(item);
}

BOOL CThumbnailListWnd::AddItemFirst(CMediaFileItem* pItem) {
  if (!pItem || !m_pListView || !PrepareThumbnail(*pItem)) return FALSE;
  return m_pListView->AddItem(pItem, TRUE);
}

BOOL CThumbnailListWnd::AddItemLast(CMediaFileItem* pItem) {
  if (!pItem || !m_pListView || !PrepareThumbnail(*pItem)) return FALSE;
  if (m_pListView->InsertItemLast(pItem, TRUE) >= 0) return TRUE;
  if (pItem->IsVideo()) pItem->DeleteThumbnail();
  return FALSE;
}

// Each way counts only when the thumbnail's bitmap is there afterwards: a graph that
// connects is no proof that it wrote the picture.
BOOL CThumbnailListWnd::CreateVideoThumbnail(CMediaFileItem& item) {
  const CString video = item.GetVideoPath();
  const CString picture = item.GetImagePath();
  if (!item.IsVideo() || !m_pGrabber || video.IsEmpty() || picture.IsEmpty()) return FALSE;
  if (SUCCEEDED(GrabFrameWithMediaDet(video, picture)) && FileOnDisk(picture)) return TRUE;
  if (GrabFrameConnected(video, picture) && FileOnDisk(picture)) return TRUE;
  const BOOL rendered = GrabFrameRendered(video);
  // What rendering added to the grabber's graph must not stay for the next file.
  m_pGrabber->ClearGraph();
  return rendered && FileOnDisk(picture);
}

HRESULT CThumbnailListWnd::GrabFrameWithMediaDet(LPCSTR lpszVideo, LPCSTR lpszPicture) {
  IMediaDet* detector = nullptr;
  HRESULT hr = ::CoCreateInstance(CLSID_MediaDet, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaDet,
                                  reinterpret_cast<void**>(&detector));
  if (FAILED(hr)) return hr;
  auto wide = [](LPCSTR text) {
    WCHAR buffer[MAX_PATH * 2] = {};
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, MAX_PATH * 2);
    return ::SysAllocString(buffer);
  };
  BSTR video = wide(lpszVideo);
  hr = detector->put_Filename(video);
  ::SysFreeString(video);
  long streams = 0;
  if (SUCCEEDED(hr)) hr = detector->get_OutputStreams(&streams);
  long width = 0, height = 0;
  bool found = false;
  for (long i = 0; SUCCEEDED(hr) && i < streams && !found; ++i) {
    if (FAILED(hr = detector->put_CurrentStream(i))) break;
    AM_MEDIA_TYPE type{};
    if (FAILED(hr = detector->get_StreamMediaType(&type))) break;
    if (type.majortype == MEDIATYPE_Video) {
      found = true;
      if (type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER) && type.pbFormat) {
        width = HEADER(type.pbFormat)->biWidth;
        height = HEADER(type.pbFormat)->biHeight;
      }
    }
    FreeMediaType(type);
  }
  if (SUCCEEDED(hr) && (width <= 0 || height <= 0)) hr = VFW_E_INVALIDMEDIATYPE;
  if (SUCCEEDED(hr)) {
    BSTR picture = wide(lpszPicture);
    hr = detector->WriteBitmapBits(0.0, width, height, picture);
    ::SysFreeString(picture);
  }
  detector->Release();
  return hr;
}

BOOL CThumbnailListWnd::GrabFrameConnected(LPCSTR lpszVideo, LPCSTR lpszPicture) {
  if (!m_pGrabber->SetSourceFile(lpszVideo) || !m_pGrabber->SetStillFileName(lpszPicture)) return FALSE;
  const BOOL connected = m_pGrabber->ConnectFilters();
  if (connected) {
    m_pGrabber->Run();
    // The still capture writes the first picture that reaches it.
    for (DWORD waited = 0; waited < kConnectedGrabMs && !FileOnDisk(lpszPicture); waited += 10) ::Sleep(10);
    m_pGrabber->Stop();
    m_pGrabber->ClearGraph();
    m_pGrabber->IsSourceLoaded();
  }
  return connected;
}

BOOL CThumbnailListWnd::GrabFrameRendered(LPCSTR lpszVideo) {
  if (!m_pGrabber->IsSourceLoaded()) return FALSE;
  m_pGrabber->RemoveStillCapture();
  if (!m_pGrabber->RenderFile(lpszVideo) || !m_pGrabber->Run()) return FALSE;
  ::Sleep(kRenderedGrabMs);
  return m_pGrabber->Stop() && m_pGrabber->ConnectSplitter() && m_pGrabber->AddDecoder() && m_pGrabber->AddSource();
}

int CThumbnailListWnd::AddFolder(LPCSTR lpszFolder, BOOL bIsVideo, BOOL bToTop) {
  if (!lpszFolder) return 0;
  CString folder = lpszFolder;
  if (folder.IsEmpty() || folder[folder.GetLength() - 1] != '\\') folder += "\\";
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA(folder + "*.*", &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int added = 0;
  do {
    if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
    const CString path = folder + found.cFileName;
    const BOOL wanted = bIsVideo ? IsVideoFile(path) : IsImageFile(path);
    if (wanted && AddMediaFile(path, bIsVideo, bToTop)) ++added;
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return added;
}

// Every record goes to the top, as it always has; each is numbered by its place in the
// file and the final sort by those numbers puts the view back in the file's order, so
// opening and saving a list keeps it as it was. A record that cannot be shown is left out
// and the rest still load: the owners save the view back over the file.
BOOL CThumbnailListWnd::LoadListFile(LPCSTR lpszPath) {
  if (!lpszPath || !m_pListView) return FALSE;
  std::vector<BYTE> bytes;
  if (!ReadList(lpszPath, bytes) || bytes.size() < 4) return FALSE;
  std::int32_t count = 0;
  std::memcpy(&count, bytes.data(), 4);
  if (count < 0) return FALSE;
  m_pListView->RemoveAllItems(FALSE);
  const std::size_t present = (bytes.size() - 4) / kRecordSize;
  const std::size_t records = static_cast<std::size_t>(count) < present ? static_cast<std::size_t>(count) : present;
  for (std::size_t i = 0; i < records; ++i) {
    MediaListRecord record;
    std::memcpy(&record, bytes.data() + 4 + i * kRecordSize, kRecordSize);
    record.Path[sizeof(record.Path) - 1] = '\0';
    CMediaFileItem probe;
    probe.SetVideo(record.Kind != 0 ? 1 : 0);
    if (record.Kind != 0)
      probe.SetVideoPath(record.Path);
    else
      probe.SetImagePath(record.Path);
    if (!probe.MainFileExists()) continue;
    if (AddMediaFile(record.Path, record.Kind != 0, TRUE)) m_pListView->GetItem(0)->SetLoadOrder(static_cast<int>(i));
  }
  m_pListView->SortByLoadOrder();
  // A count the file's records fall short of is a cut file: what was there is shown.
  return static_cast<std::size_t>(count) <= present;
}

BOOL CThumbnailListWnd::SaveListFile(LPCSTR lpszPath, BOOL bIsVideo) {
  if (!lpszPath || !m_pListView || !m_pListView->GetSafeHwnd()) return FALSE;
  std::vector<BYTE> bytes(4, 0);
  std::uint32_t written = 0;
  for (int i = 0; i < m_pListView->GetItemCount(); ++i) {
    const CMediaFileItem* item = m_pListView->GetItem(i);
    const CString path = bIsVideo ? item->GetVideoPath() : item->GetImagePath();
    MediaListRecord record{};
    if (static_cast<std::size_t>(path.GetLength()) >= sizeof(record.Path)) continue;
    record.Kind = bIsVideo ? kMediaListVideo : kMediaListPicture;
    std::memcpy(record.Path, static_cast<LPCSTR>(path), static_cast<std::size_t>(path.GetLength()));
    const auto* raw = reinterpret_cast<const BYTE*>(&record);
    bytes.insert(bytes.end(), raw, raw + kRecordSize);
    ++written;
  }
  std::memcpy(bytes.data(), &written, 4);
  return ::ReplaceFileContentsA(lpszPath, bytes.data(), static_cast<DWORD>(bytes.size()));
}

LRESULT CThumbnailListWnd::OnListOpenItem(WPARAM, LPARAM lParam) {
  const int count = GetItemCount();
  if (count <= 0) return 0;
  const int selected = GetFirstSelected();
  if (selected >= 0) m_nCursor = selected;
  if (lParam == kKeyPrevious) m_nCursor = m_nCursor < 1 ? count - 1 : m_nCursor - 1;
  if (lParam == kKeyNext) m_nCursor = m_nCursor >= count - 1 ? 0 : m_nCursor + 1;
  if (::GetFocus() != m_pListView->GetSafeHwnd()) m_pListView->SetFocus();
  SelectItem(m_nCursor > 0 ? m_nCursor : 0);
  return 0;
}

LRESULT CThumbnailListWnd::OnThumbFlag(WPARAM wParam, LPARAM) {
  m_thumbFlag = wParam;
  return 0;
}

BOOL CThumbnailListWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
    ::TranslateMessage(pMsg);
    ::DispatchMessageA(pMsg);
    return TRUE;
  }
  return CStatic::PreTranslateMessage(pMsg);
}
