// A hash map from KEY to VALUE (passed in as ARG_KEY and ARG_VALUE), walked with
// GetStartPosition/GetNextAssoc in no particular order. A POSITION names the association
// GetNextAssoc returns next, so a walk may remove the key it was just given.
//
// Keys are hashed by HashKey<ARG_KEY> (integers and pointers by value, strings by their
// characters; callers may specialise it for their own key types) and compared with ==.
#pragma once

#include <mfc/CObject.h>
#include <mfc/CString.h>
#include <mfc/position.h>

#include <cstdint>
#include <type_traits>
#include <vector>

namespace plat {

inline UINT hashString(LPCSTR key) {
  UINT hash = 0;
  for (; key && *key; ++key) hash = (hash << 5) + hash + static_cast<unsigned char>(*key);
  return hash;
}

}  // namespace plat

template <class ARG_KEY>
UINT HashKey(ARG_KEY key) {
  using Key = std::remove_cv_t<std::remove_reference_t<ARG_KEY>>;
  if constexpr (std::is_pointer_v<Key>) {
    // Allocations are aligned; the low bits carry nothing.
    return static_cast<UINT>(reinterpret_cast<std::uintptr_t>(key) >> 4);
  } else if constexpr (std::is_class_v<Key>) {
    return plat::hashString(static_cast<LPCSTR>(key));  // CString keys
  } else {
    return static_cast<UINT>(key);
  }
}

// String keys passed as LPCSTR hash by their characters, not their address.
template <>
inline UINT HashKey<LPCSTR>(LPCSTR key) {
  return plat::hashString(key);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 public:
  explicit CMap(int nBlockSize = 10) {}
  ~CMap() override { RemoveAll(); }

  int GetCount() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
  // The value of key, added value-initialised when missing.
  VALUE& operator[](ARG_KEY key);
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
  BOOL RemoveKey(ARG_KEY key);
  void RemoveAll();

  POSITION GetStartPosition() const;
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

  UINT GetHashTableSize() const { return static_cast<UINT>(m_buckets.size()); }
  // Sets the number of buckets (a prime such as 17 spreads keys best); existing keys are
  // redistributed.
  void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

 private:
  struct Assoc {
    Assoc* pNext;
    UINT nHashValue;
    KEY key;
    VALUE value;
  };

  static POSITION ToPosition(Assoc* assoc) { return reinterpret_cast<POSITION>(assoc); }
  UINT BucketOf(UINT hash) const { return hash % GetHashTableSize(); }
  Assoc* Find(ARG_KEY key, UINT hash) const;
  Assoc* FirstFrom(UINT bucket) const;

  std::vector<Assoc*> m_buckets = std::vector<Assoc*>(17, nullptr);
  int m_nCount = 0;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Assoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Find(ARG_KEY key,
                                                                                                UINT hash) const {
  for (Assoc* assoc = m_buckets[BucketOf(hash)]; assoc; assoc = assoc->pNext) {
    if (assoc->nHashValue == hash && assoc->key == key) return assoc;
  }
  return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Assoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FirstFrom(
    UINT bucket) const {
  for (; bucket < GetHashTableSize(); ++bucket) {
    if (m_buckets[bucket]) return m_buckets[bucket];
  }
  return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const {
  Assoc* assoc = Find(key, HashKey<ARG_KEY>(key));
  if (!assoc) return FALSE;
  rValue = assoc->value;
  return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
  const UINT hash = HashKey<ARG_KEY>(key);
  if (Assoc* assoc = Find(key, hash)) return assoc->value;
  Assoc*& head = m_buckets[BucketOf(hash)];
  head = new Assoc{head, hash, KEY(key), VALUE()};
  ++m_nCount;
  return head->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
  const UINT hash = HashKey<ARG_KEY>(key);
  for (Assoc** link = &m_buckets[BucketOf(hash)]; *link; link = &(*link)->pNext) {
    Assoc* assoc = *link;
    if (assoc->nHashValue == hash && assoc->key == key) {
      *link = assoc->pNext;
      delete assoc;
      --m_nCount;
      return TRUE;
    }
  }
  return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
  for (Assoc*& head : m_buckets) {
    while (head) {
      Assoc* next = head->pNext;
      delete head;
      head = next;
    }
  }
  m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
POSITION CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetStartPosition() const {
  return ToPosition(FirstFrom(0));
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
  ASSERT(rNextPosition != nullptr);
  if (!rNextPosition) return;
  Assoc* assoc = reinterpret_cast<Assoc*>(rNextPosition);
  rKey = assoc->key;
  rValue = assoc->value;
  rNextPosition = ToPosition(assoc->pNext ? assoc->pNext : FirstFrom(BucketOf(assoc->nHashValue) + 1));
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL) {
  ASSERT(hashSize > 0);
  if (hashSize == 0) return;
  std::vector<Assoc*> buckets(hashSize, nullptr);
  for (Assoc* head : m_buckets) {
    while (head) {
      Assoc* next = head->pNext;
      Assoc*& slot = buckets[head->nHashValue % hashSize];
      head->pNext = slot;
      slot = head;
      head = next;
    }
  }
  m_buckets = std::move(buckets);
}
