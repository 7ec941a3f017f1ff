#include "windows/main/CSkinLabelSet.h"

#include "skin/CIniFile.h"
#include "skin/CSkinLabel.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"

#include <new>

namespace {

// A label's picture is framed by edges this wide; its inside is stretched.
constexpr int kFrameEdge = 6;

void GivePicture(CSkinLabel& label, const CIniFile& ini, const CString& image) {
  HBITMAP picture = nullptr;
  SIZE size{};
  if (!LoadPictureFile(GetSkinFilePath(ini, image), picture, size)) return;
  label.SetBitmap(picture, 0, 0, size.cx, size.cy);
  const RECT whole{0, 0, size.cx, size.cy};
  const RECT edges{kFrameEdge, kFrameEdge, kFrameEdge, kFrameEdge};
  label.SetImageRect(&whole);
  label.SetMargins(&edges);
  ReleaseBitmap(picture);
}

}  // namespace

CSkinLabelSet::CSkinLabelSet() = default;

CSkinLabelSet::~CSkinLabelSet() { DestroyAll(); }

BOOL CSkinLabelSet::Create(CWnd& parent, const CString& skinFile, LPCSTR section, int firstId,
                           std::optional<COLORREF> textColour, BOOL skinText) {
  const CIniFile ini(skinFile);
  CStringArray keys;
  ini.GetSectionKeys(section, keys);
  CRect client;
  parent.GetClientRect(&client);
  for (int key = 1; key <= static_cast<int>(keys.GetSize()); ++key) {
    CString keyName;
    keyName.Format("%d", key);
    CString value = ini.GetString(section, keyName, "");
    if (value.IsEmpty()) continue;
    const CString name = CutField(value);
    const CString image = CutField(value);
    const CRect design = CutRect(value);
    const CString text = skinText ? CutField(value) : CString();
    auto label = std::unique_ptr<CSkinLabel>(new (std::nothrow) CSkinLabel);
    if (!label) return FALSE;
    label->SetName(name);
    label->SetId(firstId + key - 1);
    label->SetPlacement(design.left, design.top, design.right, design.bottom);
    if (textColour) label->SetTextColor(*textColour);
    GivePicture(*label, ini, image);
    if (!label->Create(text, WS_CHILD | WS_VISIBLE, ScaleDesignRect(design, client.Width(), client.Height()), &parent,
                       static_cast<UINT>(firstId + key - 1)))
      return FALSE;
    m_labels.push_back(std::move(label));
  }
  return TRUE;
}

void CSkinLabelSet::SetText(LPCSTR name, LPCSTR text) {
  for (const auto& label : m_labels)
    if (label->GetName() == name) label->SetText(text);
}

void CSkinLabelSet::SetFirstText(LPCSTR name, LPCSTR text) {
  if (CSkinLabel* label = Find(name)) label->SetText(text);
}

void CSkinLabelSet::Show(LPCSTR name, BOOL show) {
  for (const auto& label : m_labels)
    if (label->GetName() == name) label->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

CSkinLabel* CSkinLabelSet::Find(LPCSTR name) const {
  for (const auto& label : m_labels)
    if (label->GetName() == name) return label.get();
  return nullptr;
}

void CSkinLabelSet::Layout(int cx, int cy) {
  for (const auto& label : m_labels) {
    RECT design{};
    label->GetPlacement(design);
    label->MoveWindow(ScaleDesignRect(design, cx, cy), TRUE);
  }
}

void CSkinLabelSet::DestroyAll() {
  for (const auto& label : m_labels)
    if (label->GetSafeHwnd()) label->DestroyWindow();
  m_labels.clear();
}
