#include "graphs/CaptureFileNames.h"

#include <win32/file.h>

#include <cstring>

namespace {

// Every entry of the search that is a file, in the order the search returns them.
void CollectFileNames(LPCSTR folder, LPCSTR pattern, CStringArray& names) {
  names.RemoveAll();
  const CString search = CString(folder) + pattern;
  WIN32_FIND_DATAA entry{};
  HANDLE find = FindFirstFileA(search, &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const bool dots = std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0;
    if (!dots && !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.Add(entry.cFileName);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
}

// The text from the fourth character up to the first '.' at the fifth or later; empty
// when there is no such '.'.
CString NumberField(const CString& name) {
  const int dot = name.Find('.', 4);
  return dot < 0 ? CString() : name.Mid(3, dot - 3);
}

// The field's decimal value, or -1 when it is empty, not all digits or too long to be
// any candidate.
long long DecimalValue(const CString& field) {
  if (field.IsEmpty() || field.GetLength() > 12) return -1;
  long long value = 0;
  for (int i = 0; i < field.GetLength(); ++i) {
    const char c = field[i];
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

CString CandidateText(int k) {
  CString text;
  text.Format(k < 10 ? "0%d" : "%d", k);
  return text;
}

bool IsTaken(int k, const CString& candidate, const CStringArray& names) {
  for (int i = 0; i < names.GetSize(); ++i) {
    const CString field = NumberField(names[i]);
    if (field == candidate) return true;
    if (k >= 10 && DecimalValue(field) == k) return true;
  }
  return false;
}

}  // namespace

CString NextCaptureFileName(LPCSTR folder, LPCSTR pattern, LPCSTR extension, CStringArray& names) {
  CollectFileNames(folder, pattern, names);
  const int count = names.GetSize();
  int k = 0;
  while (k < count && IsTaken(k, CandidateText(k), names)) ++k;
  return "cap" + CandidateText(k) + extension;
}
