#include "windows/media/CPictureUndo.h"

#include <win32/file.h>

// After undos a name can still be on the stack when the counter comes round to it: that
// file holds a state to go back to, so the counter moves past it. Of six names at most
// five are on the stack.
CString CPictureUndo::NextFile() {
  CString path;
  for (int tries = 0; tries < kFileNames; ++tries) {
    path.Format("%s%d.bmp", static_cast<LPCSTR>(m_folder), m_counter % kFileNames);
    ++m_counter;
    if (!IsOnStack(path)) break;
  }
  return path;
}

BOOL CPictureUndo::IsOnStack(const CString& path) const {
  for (int i = 0; i < m_stack.GetSize(); ++i)
    if (m_stack.GetAt(i) == path) return TRUE;
  return FALSE;
}

void CPictureUndo::Push(const CString& path) {
  m_stack.Add(path);
  if (m_stack.GetSize() <= kDepth) return;
  Discard(m_stack.GetAt(0));
  m_stack.RemoveAt(0);
}

BOOL CPictureUndo::Pop(CString& path) {
  if (m_stack.GetSize() == 0) return FALSE;
  path = m_stack.GetAt(m_stack.GetSize() - 1);
  m_stack.RemoveAt(m_stack.GetSize() - 1);
  Discard(path);
  return TRUE;
}

void CPictureUndo::Reset() {
  m_counter = 0;
  for (int i = 0; i < m_stack.GetSize(); ++i) Discard(m_stack.GetAt(i));
  m_stack.RemoveAll();
}

// A name is reused once the counter comes round: it is listed once.
void CPictureUndo::Discard(const CString& path) {
  for (int i = 0; i < m_discarded.GetSize(); ++i)
    if (m_discarded.GetAt(i) == path) return;
  m_discarded.Add(path);
}

void CPictureUndo::DeleteFiles() {
  for (const CStringArray* list : {&m_stack, &m_discarded})
    for (int i = 0; i < list->GetSize(); ++i)
      if (::GetFileAttributesA(list->GetAt(i)) != INVALID_FILE_ATTRIBUTES) ::DeleteFileA(list->GetAt(i));
  m_stack.RemoveAll();
  m_discarded.RemoveAll();
}
