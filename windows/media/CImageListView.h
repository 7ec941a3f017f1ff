// The thumbnail strip of the media player, the picture browser and the video editor: a
// list control in icon mode whose items are picture or video files (CMediaFileItem), each
// drawn as a 60 x 60 thumbnail. It owns a copy of every item it shows (the list items'
// data), the 60 x 60 image list and the hover tip; it reports what the user does to its
// notify window with the messages below, sent, each "item" pointer valid during the call.
//
// Image indexes: item k's CMediaFileItem holds the index of its picture in the image list
// (its second index); the indexes are 0 ... N-1, each used once, and travel with the item
// when items move.
//
// A user's file is deleted from the disk only by the delete command, after the user chose
// OK, and only while no other item of the list names the same file.
#pragma once

#include "core/CMediaFileItem.h"
#include "skin/CCoolTip.h"

#include <mfc/afxwin.h>
#include <mfc/wnd/CImageList.h>

class CImageListView : public CListCtrl {
 public:
  // Sent to the notify window (wParam / lParam).
  static constexpr UINT UM_LIST_KEYDOWN = 1034;       // first selected index / NMLVKEYDOWN*
  static constexpr UINT UM_OPEN_LIST_ITEM = 1035;     // view / item*: a double click
  static constexpr UINT UM_LIST_PLAY_STATE = 1612;    // 1 on an item, 0 on empty space / 0
  static constexpr UINT UM_LIST_PLAY_ITEM = 2024;     // view / item*: "play" in menu mode 0
  static constexpr UINT UM_LIST_ITEM_DELETED = 2025;  // view / item*: "delete", before the question
  static constexpr UINT UM_LIST_ADD_FILE = 2031;      // view / 0
  static constexpr UINT UM_LIST_CLEARED = 2042;       // 0 / 0, after the list was emptied
  static constexpr UINT UM_LIST_SET_FOLDER = 2043;    // view / 0
  static constexpr UINT UM_LIST_DROP_FILES = 2044;    // HDROP / as received
  static constexpr UINT UM_LIST_OPEN_ITEM = 2047;     // view / item*: "play" in menu mode 1

  // The context menu (resource 155, its first popup) and its commands.
  static constexpr UINT IDR_IMAGE_LIST_MENU = 155;
  static constexpr UINT ID_LIST_PLAY = 32772;
  static constexpr UINT ID_LIST_DELETE = 32773;
  static constexpr UINT ID_LIST_CLEAR = 32774;
  static constexpr UINT ID_LIST_ADD_FILE = 32775;
  static constexpr UINT ID_LIST_ADD_FOLDER = 32776;
  static constexpr UINT ID_LIST_PROPERTIES = 32778;

  static constexpr int kThumbSize = 60;
  static constexpr UINT_PTR kHoverTimer = 50;
  static constexpr UINT kHoverMs = 10;

  CImageListView(BOOL bSingleSelection, int nStoredValue);
  ~CImageListView() override;

  // Style plus show-selection-always and auto-arrange (and single selection when asked);
  // fails when the control already has a normal image list.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetNotifyWindow(HWND hWnd);
  HWND GetNotifyWindow() const { return m_hNotifyWnd; }
  // 0 player list, 1 picture list (no "play" entry), other values no context menu; -1 keeps.
  void SetMenuMode(int nMode);
  int GetMenuMode() const { return m_nMenuMode; }
  void EnableHoverTips(BOOL bEnable);
  // The flags the thumbnail list window turns off before creating the view.
  void EnableItemDragging(BOOL bEnable) { m_bItemDragging = bEnable; }
  void EnableSkinScrollBars(BOOL bEnable) { m_bSkinScrollBars = bEnable; }

  // A copy of the item, drawn unless `bDraw` is 0, put first; nonzero on success.
  BOOL AddItem(const CMediaFileItem* pItem, BOOL bDraw);
  // A copy of the item at the end; its index, -1 when it was not added (a picture the
  // picture library cannot load, an unknown extension).
  int InsertItemLast(const CMediaFileItem* pItem, BOOL bDraw);
  // Takes the item out; with `bDeleteFile`, its media file goes too when no other item
  // names it.
  BOOL RemoveItem(int nIndex, BOOL bDeleteFile);
  BOOL RemoveAllItems(BOOL bDeleteFiles);
  BOOL SelectItem(int nIndex, BOOL bClamp);
  void DeselectItem(int nIndex);
  BOOL IsItemSelected(int nIndex) const;
  int GetFirstSelected() const;
  int HitTest(CPoint point) const;
  BOOL MoveItemUp(int nIndex, int nCount);
  BOOL MoveItemDown(int nIndex, int nCount);
  BOOL MoveItemToTop(int nIndex) { return MoveItemUp(nIndex, nIndex); }
  BOOL SwapItems(int nFirst, int nSecond);
  // Copies `pSource` into the item at the index (both files must exist) and shows it.
  BOOL UpdateItem(int nIndex, const CMediaFileItem* pSource);
  int SortByLoadOrder();

  // The view's own item at an index, or null.
  CMediaFileItem* GetItem(int nIndex) const;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
  afx_msg LRESULT OnEnterMenuLoop(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnExitMenuLoop(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDropFiles(HDROP hDropInfo);
  afx_msg void OnKeyDownNotify(NMHDR* pNotify, LRESULT* pResult);
  afx_msg void OnPlay();
  afx_msg void OnDelete();
  afx_msg void OnClear();
  afx_msg void OnAddFile();
  afx_msg void OnAddFolder();
  afx_msg void OnProperties();
  DECLARE_MESSAGE_MAP()

 private:
  // Draws the item's picture into image slot `nImage`; false when it cannot be loaded.
  bool DrawThumbnail(const CMediaFileItem& item, int nImage);
  // Shows the list item with its own item's display name and image index.
  void ShowItem(int nIndex);
  // Moves the list item at `nFrom` to `nTo`, data, image and state together.
  bool MoveRow(int nFrom, int nTo);
  // The index of the list item whose data is `pItem`, -1 when it is no longer listed.
  int IndexOf(const CMediaFileItem* pItem) const;
  // Removes the item under the point when its file has gone; true when it did.
  bool DropVanishedItemAt(CPoint point);
  void HideTip();
  LRESULT Notify(UINT message, WPARAM wParam, LPARAM lParam);
  bool HasNotifyWindow() const { return m_hNotifyWnd && ::IsWindow(m_hNotifyWnd); }

  CPtrList m_items;
  CImageList m_images;
  CMenu m_menu;
  CCoolTip m_tip;
  HWND m_hNotifyWnd = nullptr;
  int m_nMenuMode = 4;
  BOOL m_bSingleSelection;
  int m_nStoredValue;
  BOOL m_bTipsEnabled = TRUE;
  int m_nHotItem = -1;
  CPoint m_ptLastMouse{-1, -1};
  BOOL m_bItemDragging = FALSE;
  BOOL m_bSkinScrollBars = FALSE;
  BOOL m_bAcceptFiles = TRUE;
  BOOL m_bMenuEnabled = TRUE;
  BOOL m_bInMenuLoop = FALSE;
  BOOL m_bConfirmDelete = TRUE;
};
