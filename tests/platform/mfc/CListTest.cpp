#include <mfc/CList.h>
#include <mfc/CObList.h>
#include <mfc/CPtrList.h>
#include <mfc/CStringList.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> forward(const CList<int, int>& list) {
  std::vector<int> out;
  for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(list.GetNext(pos));
  return out;
}

std::vector<int> backward(const CList<int, int>& list) {
  std::vector<int> out;
  for (POSITION pos = list.GetTailPosition(); pos;) out.push_back(list.GetPrev(pos));
  return out;
}

TEST(CList, KeepsLinksConsistentThroughInsertsAndRemoves) {
  CList<int, int> list;
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  POSITION two = list.AddTail(2);
  list.AddHead(1);
  list.AddTail(4);
  list.InsertAfter(two, 3);
  list.InsertBefore(list.GetHeadPosition(), 0);
  EXPECT_EQ(forward(list), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(backward(list), (std::vector<int>{4, 3, 2, 1, 0}));
  EXPECT_EQ(list.GetCount(), 5);

  EXPECT_EQ(list.RemoveHead(), 0);
  EXPECT_EQ(list.RemoveTail(), 4);
  list.RemoveAt(two);
  EXPECT_EQ(forward(list), (std::vector<int>{1, 3}));
  EXPECT_EQ(backward(list), (std::vector<int>{3, 1}));
  EXPECT_EQ(list.GetHead(), 1);
  EXPECT_EQ(list.GetTail(), 3);
  list.RemoveAll();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetTailPosition(), nullptr);
  list.AddTail(9);
  EXPECT_EQ(backward(list), (std::vector<int>{9}));
}

TEST(CList, RemovingWhileWalkingVisitsEveryElement) {
  CList<int, int> list;
  for (int i = 0; i < 10; ++i) list.AddTail(i);
  std::vector<int> visited;
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    POSITION current = pos;
    const int value = list.GetNext(pos);
    visited.push_back(value);
    if (value % 2 == 0) list.RemoveAt(current);
  }
  EXPECT_EQ(visited.size(), 10u);
  EXPECT_EQ(forward(list), (std::vector<int>{1, 3, 5, 7, 9}));
  EXPECT_EQ(backward(list), (std::vector<int>{9, 7, 5, 3, 1}));
}

TEST(CList, FindsByValueAndIndex) {
  CList<int, int> list;
  for (int v : {5, 6, 5, 7}) list.AddTail(v);
  POSITION first = list.Find(5);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, list.FindIndex(0));
  POSITION second = list.Find(5, first);
  EXPECT_EQ(second, list.FindIndex(2));
  EXPECT_EQ(list.Find(5, second), nullptr);
  EXPECT_EQ(list.Find(8), nullptr);
  EXPECT_EQ(list.FindIndex(4), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  list.SetAt(second, 50);
  list.GetAt(first) = 40;
  EXPECT_EQ(forward(list), (std::vector<int>{40, 6, 50, 7}));
}

TEST(CList, AddsWholeListsInOrderIncludingItself) {
  CList<int, int> list;
  CList<int, int> other;
  list.AddTail(1);
  other.AddTail(2);
  other.AddTail(3);
  list.AddTail(&other);
  list.AddHead(&other);
  EXPECT_EQ(forward(list), (std::vector<int>{2, 3, 1, 2, 3}));
  other.AddTail(&other);
  EXPECT_EQ(forward(other), (std::vector<int>{2, 3, 2, 3}));
}

class Entry : public CObject {
 public:
  explicit Entry(int id) : id(id) {}
  int id;
};

TEST(CObList, HoldsObjectsItDoesNotOwn) {
  Entry a(1);
  Entry b(2);
  CObList list(10);
  list.AddTail(&a);
  list.AddTail(&b);
  EXPECT_EQ(list.Find(&b), list.GetTailPosition());
  POSITION pos = list.GetHeadPosition();
  EXPECT_EQ(static_cast<Entry*>(list.GetNext(pos))->id, 1);
  EXPECT_EQ(static_cast<Entry*>(list.GetNext(pos))->id, 2);
  list.RemoveAll();
  EXPECT_EQ(b.id, 2);  // still alive: the list never deleted it
}

TEST(CStringList, FindsTextByValue) {
  CStringList undo;
  undo.AddTail("first");
  undo.AddTail(CString("second"));
  EXPECT_EQ(undo.Find("second"), undo.GetTailPosition());
  EXPECT_EQ(undo.Find("SECOND"), nullptr);
  EXPECT_STREQ(undo.RemoveTail(), "second");
  EXPECT_STREQ(undo.GetHead(), "first");
}

TEST(CPtrList, WalksBackwards) {
  int x = 0;
  int y = 0;
  CPtrList list;
  list.AddTail(&x);
  list.AddTail(&y);
  POSITION pos = list.GetTailPosition();
  EXPECT_EQ(list.GetPrev(pos), &y);
  EXPECT_EQ(list.GetPrev(pos), &x);
  EXPECT_EQ(pos, nullptr);
}

}  // namespace
