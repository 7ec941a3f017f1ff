// The picture browser's undo: the pictures saved before each change, as files named
// folder + "0.bmp" ... "5.bmp" by a counter taken modulo 6. The stack keeps the newest
// five paths (newest last); a path that leaves it (pushed out, undone, or left behind when
// another picture is opened) goes to the discard list. Leaving the window deletes the
// files of both; the user's own files are never named here.
#pragma once

#include <mfc/afx.h>

class CPictureUndo {
 public:
  static constexpr int kDepth = 5;
  static constexpr int kFileNames = 6;

  void SetFolder(const CString& folder) { m_folder = folder; }
  // The next temporary file's path that no entry holds; the counter moves on.
  CString NextFile();
  // A saved picture's path as the newest entry; the oldest of more than kDepth is discarded.
  void Push(const CString& path);
  // Takes the newest path off into the discard list; FALSE when there is none.
  BOOL Pop(CString& path);
  // Another picture was opened: the counter starts again at 0 and every entry is
  // discarded, so its file is deleted on leaving.
  void Reset();
  // Deletes every file of the stack and the discard list that exists, and forgets them.
  void DeleteFiles();

  int GetCount() const { return static_cast<int>(m_stack.GetSize()); }
  BOOL IsEmpty() const { return m_stack.GetSize() == 0; }
  CString GetAt(int index) const { return m_stack.GetAt(index); }
  const CStringArray& GetDiscarded() const { return m_discarded; }
  int GetCounter() const { return m_counter; }

 private:
  void Discard(const CString& path);
  BOOL IsOnStack(const CString& path) const;

  CString m_folder;
  CStringArray m_stack;
  CStringArray m_discarded;
  int m_counter = 0;
};
