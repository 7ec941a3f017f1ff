// A doubly linked list of TYPE, passed in as ARG_TYPE, walked with POSITIONs. A POSITION
// names a node and stays valid until that node is removed, so a walk may remove the
// element GetNext just returned. Nodes are allocated one by one; the block size is
// accepted for compatibility.
#pragma once

#include <mfc/CObject.h>
#include <mfc/position.h>

#include <utility>

template <class TYPE, class ARG_TYPE>
class CList : public CObject {
 public:
  explicit CList(int nBlockSize = 10) {}
  ~CList() override { RemoveAll(); }

  int GetCount() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return NonEmpty(m_pHead)->data; }
  TYPE GetHead() const { return NonEmpty(m_pHead)->data; }
  TYPE& GetTail() { return NonEmpty(m_pTail)->data; }
  TYPE GetTail() const { return NonEmpty(m_pTail)->data; }
  TYPE RemoveHead();
  TYPE RemoveTail();

  POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
  POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
  void AddHead(CList* pNewList);
  void AddTail(CList* pNewList);
  void RemoveAll();

  POSITION GetHeadPosition() const { return ToPosition(m_pHead); }
  POSITION GetTailPosition() const { return ToPosition(m_pTail); }
  // The element at rPosition; rPosition moves on to the next (NULL after the tail).
  TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, &Node::pNext); }
  TYPE GetNext(POSITION& rPosition) const { return Step(rPosition, &Node::pNext); }
  TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, &Node::pPrev); }
  TYPE GetPrev(POSITION& rPosition) const { return Step(rPosition, &Node::pPrev); }
  TYPE& GetAt(POSITION position) { return ToNode(position)->data; }
  TYPE GetAt(POSITION position) const { return ToNode(position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { ToNode(pos)->data = newElement; }
  void RemoveAt(POSITION position);

  // A NULL position inserts at the head (InsertBefore) or the tail (InsertAfter).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

  // The first element equal to searchValue after startAfter (from the head for NULL).
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
  // The nIndex-th element from the head, or NULL when out of range.
  POSITION FindIndex(int nIndex) const;

 private:
  struct Node {
    Node* pNext;
    Node* pPrev;
    TYPE data;
  };

  static POSITION ToPosition(Node* node) { return reinterpret_cast<POSITION>(node); }
  static Node* ToNode(POSITION position) {
    ASSERT(position != nullptr);
    return reinterpret_cast<Node*>(position);
  }
  static Node* NonEmpty(Node* node) {
    ASSERT(node != nullptr);
    return node;
  }
  TYPE& Step(POSITION& rPosition, Node* Node::*link) const {
    Node* node = ToNode(rPosition);
    rPosition = ToPosition(node->*link);
    return node->data;
  }
  void Link(Node* node);

  Node* m_pHead = nullptr;
  Node* m_pTail = nullptr;
  int m_nCount = 0;
};

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
  TYPE value = std::move(NonEmpty(m_pHead)->data);
  RemoveAt(GetHeadPosition());
  return value;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
  TYPE value = std::move(NonEmpty(m_pTail)->data);
  RemoveAt(GetTailPosition());
  return value;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList) {
  ASSERT(pNewList != nullptr);
  if (!pNewList) return;
  // Walk backwards from the source's tail so its order is kept; a list may add itself.
  POSITION pos = pNewList->GetTailPosition();
  const int count = pNewList->GetCount();
  for (int i = 0; i < count; ++i) AddHead(pNewList->GetPrev(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList) {
  ASSERT(pNewList != nullptr);
  if (!pNewList) return;
  POSITION pos = pNewList->GetHeadPosition();
  const int count = pNewList->GetCount();
  for (int i = 0; i < count; ++i) AddTail(pNewList->GetNext(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll() {
  while (m_pHead) {
    Node* next = m_pHead->pNext;
    delete m_pHead;
    m_pHead = next;
  }
  m_pTail = nullptr;
  m_nCount = 0;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position) {
  Node* node = ToNode(position);
  (node->pPrev ? node->pPrev->pNext : m_pHead) = node->pNext;
  (node->pNext ? node->pNext->pPrev : m_pTail) = node->pPrev;
  delete node;
  --m_nCount;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Link(Node* node) {
  (node->pPrev ? node->pPrev->pNext : m_pHead) = node;
  (node->pNext ? node->pNext->pPrev : m_pTail) = node;
  ++m_nCount;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
  Node* next = position ? ToNode(position) : m_pHead;
  Node* node = new Node{next, next ? next->pPrev : nullptr, TYPE(newElement)};
  Link(node);
  return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
  Node* prev = position ? ToNode(position) : m_pTail;
  Node* node = new Node{prev ? prev->pNext : nullptr, prev, TYPE(newElement)};
  Link(node);
  return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const {
  for (Node* node = startAfter ? ToNode(startAfter)->pNext : m_pHead; node; node = node->pNext) {
    if (node->data == searchValue) return ToPosition(node);
  }
  return nullptr;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
  Node* node = m_pHead;
  while (nIndex-- > 0) node = node->pNext;
  return ToPosition(node);
}
