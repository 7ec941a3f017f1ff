// The skinned labels of a skinned window: one CSkinLabel per key of a skin section
// "NAME,IMAGE,left,top,right,bottom,TEXT", laid out in the 1024 x 768 design space and
// found again by their skin names. A name may be given to several labels; the window
// fills every one of them, or only the first, as its Part says. A label whose picture is
// missing is made all the same and simply draws nothing.
#pragma once

#include <mfc/afxwin.h>

#include <memory>
#include <optional>
#include <vector>

class CSkinLabel;

class CSkinLabelSet {
 public:
  CSkinLabelSet();
  ~CSkinLabelSet();
  CSkinLabelSet(const CSkinLabelSet&) = delete;
  CSkinLabelSet& operator=(const CSkinLabelSet&) = delete;

  // The labels of `section` of the skin file, children of `parent` with the ids firstId +
  // key - 1, in `textColour` (without one, the label's own), starting with the skin's text
  // or, without `skinText`, empty. FALSE when a label cannot be made; those made so far stay.
  BOOL Create(CWnd& parent, const CString& skinFile, LPCSTR section, int firstId,
              std::optional<COLORREF> textColour = std::nullopt, BOOL skinText = TRUE);
  // Every label of that name gets the text; the first one only.
  void SetText(LPCSTR name, LPCSTR text);
  void SetFirstText(LPCSTR name, LPCSTR text);
  // Every label of that name shown or hidden.
  void Show(LPCSTR name, BOOL show);
  // The first label of that name, or null.
  CSkinLabel* Find(LPCSTR name) const;
  int GetCount() const { return static_cast<int>(m_labels.size()); }
  CSkinLabel* GetAt(int index) const { return m_labels[static_cast<size_t>(index)].get(); }
  // Each label at its design rectangle scaled to a client area of cx x cy.
  void Layout(int cx, int cy);
  // Destroys and deletes the labels; a second call finds none.
  void DestroyAll();

 private:
  std::vector<std::unique_ptr<CSkinLabel>> m_labels;
};
