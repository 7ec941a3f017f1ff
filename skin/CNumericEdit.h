// A decimal-number field on the skinned edit's images: with validation on, an invalid
// text is replaced by the fallback text on Enter, and a change that makes the text invalid
// is reported in a message box and cleaned to a valid number. It widens itself as the
// text grows, up to its parent's right edge, and draws its non-client frame from the
// skin, highlighted or not. After each redraw, while it has the focus, the caret stands at
// the end of the drawn text, at the top of the formatting rectangle and never past the
// right margin.
#pragma once

#include "skin/CSkinEdit.h"

class CNumericEdit : public CSkinEdit {
 public:
  static constexpr UINT UM_VALIDATE = 1929;

  CNumericEdit() : m_bValidate(FALSE), m_strFallback("0.00"), m_bChecking(FALSE) {}

  void SetValidate(BOOL bValidate) { m_bValidate = bValidate; }
  void SetFallbackText(const CString& strText) { m_strFallback = strText; }
  CString GetFallbackText() const { return m_strFallback; }

  // Not empty, not starting with '.', only digits and at most one '.'.
  static BOOL IsValidNumber(const CString& strText);
  // Digits and the first '.' that follows a digit; everything else dropped, so the result
  // is always a valid number (or empty).
  static CString CleanNumber(const CString& strText);

 protected:
  void OnEnter() override;
  HFONT MakeTextFont() const override { return nullptr; }
  void OnTextDrawn(const CRect& rcFormat, const CSize& sizeText) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnValidate(WPARAM wParam, LPARAM lParam);
  afx_msg void OnChange();
  DECLARE_MESSAGE_MAP()

 private:
  void FallBackIfInvalid();
  void WidenToText();

  BOOL m_bValidate;
  CString m_strFallback;
  // Set while the text is being cleaned, so the cleaned text's own change is not checked.
  BOOL m_bChecking;
};
