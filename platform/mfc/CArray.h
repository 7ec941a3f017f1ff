// A growable array of TYPE, passed in as ARG_TYPE. Indexes are ints; SetAtGrow and
// InsertAt past the end pad with value-initialised elements (NULL for pointers), as the
// callers rely on. An index out of range is a programming error: it asserts.
#pragma once

#include <mfc/CObject.h>

#include <algorithm>
#include <vector>

template <class TYPE, class ARG_TYPE>
class CArray : public CObject {
 public:
  CArray() = default;

  int GetSize() const { return static_cast<int>(m_elements.size()); }
  int GetUpperBound() const { return GetSize() - 1; }
  // nGrowBy is accepted for compatibility; the array grows geometrically anyway.
  void SetSize(int nNewSize, int nGrowBy = -1);
  void FreeExtra() { m_elements.shrink_to_fit(); }
  void RemoveAll() { m_elements.clear(); }

  // The element itself, as MFC gives it: a pointer into it lives as long as the element.
  const TYPE& GetAt(int nIndex) const { return m_elements[Checked(nIndex)]; }
  void SetAt(int nIndex, ARG_TYPE newElement) { m_elements[Checked(nIndex)] = newElement; }
  TYPE& ElementAt(int nIndex) { return m_elements[Checked(nIndex)]; }
  const TYPE* GetData() const { return m_elements.data(); }
  TYPE* GetData() { return m_elements.data(); }
  const TYPE& operator[](int nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](int nIndex) { return ElementAt(nIndex); }

  void SetAtGrow(int nIndex, ARG_TYPE newElement);
  // Returns the index of the new element.
  int Add(ARG_TYPE newElement);
  // Returns the index of the first appended element.
  int Append(const CArray& src);
  void Copy(const CArray& src);

  void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1);
  void InsertAt(int nStartIndex, const CArray* pNewArray);
  void RemoveAt(int nIndex, int nCount = 1);

 private:
  std::size_t Checked(int nIndex) const {
    ASSERT(nIndex >= 0 && nIndex < GetSize());
    return static_cast<std::size_t>(nIndex);
  }

  std::vector<TYPE> m_elements;
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int) {
  ASSERT(nNewSize >= 0);
  m_elements.resize(static_cast<std::size_t>(std::max(nNewSize, 0)));
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, ARG_TYPE newElement) {
  ASSERT(nIndex >= 0);
  if (nIndex < 0) return;
  TYPE value(newElement);  // newElement may be an element about to move
  if (nIndex >= GetSize()) m_elements.resize(static_cast<std::size_t>(nIndex) + 1);
  m_elements[static_cast<std::size_t>(nIndex)] = std::move(value);
}

template <class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement) {
  TYPE value(newElement);
  m_elements.push_back(std::move(value));
  return GetUpperBound();
}

template <class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
  const int first = GetSize();
  if (&src == this) {
    const std::vector<TYPE> copy(m_elements);
    m_elements.insert(m_elements.end(), copy.begin(), copy.end());
  } else {
    m_elements.insert(m_elements.end(), src.m_elements.begin(), src.m_elements.end());
  }
  return first;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
  if (&src != this) m_elements = src.m_elements;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, ARG_TYPE newElement, int nCount) {
  ASSERT(nIndex >= 0 && nCount > 0);
  if (nIndex < 0 || nCount <= 0) return;
  const TYPE value(newElement);
  if (nIndex > GetSize()) m_elements.resize(static_cast<std::size_t>(nIndex));
  m_elements.insert(m_elements.begin() + nIndex, static_cast<std::size_t>(nCount), value);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nStartIndex, const CArray* pNewArray) {
  ASSERT(pNewArray != nullptr && nStartIndex >= 0);
  if (!pNewArray || nStartIndex < 0 || pNewArray->GetSize() == 0) return;
  const std::vector<TYPE> copy(pNewArray->m_elements);  // pNewArray may be this array
  if (nStartIndex > GetSize()) m_elements.resize(static_cast<std::size_t>(nStartIndex));
  m_elements.insert(m_elements.begin() + nStartIndex, copy.begin(), copy.end());
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount) {
  ASSERT(nIndex >= 0 && nCount >= 0 && static_cast<long long>(nIndex) + nCount <= GetSize());
  const long long first = std::clamp(nIndex, 0, GetSize());
  const long long last = std::min<long long>(first + std::max(nCount, 0), GetSize());
  m_elements.erase(m_elements.begin() + first, m_elements.begin() + last);
}
