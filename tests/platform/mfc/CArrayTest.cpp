#include <mfc/CArray.h>
#include <mfc/CPtrArray.h>
#include <mfc/CStringArray.h>

#include <gtest/gtest.h>

namespace {

std::vector<int> contents(const CArray<int, int>& a) {
  std::vector<int> out;
  for (int i = 0; i < a.GetSize(); ++i) out.push_back(a[i]);
  return out;
}

TEST(CArray, GrowsInsertsAndRemoves) {
  CArray<int, int> a;
  EXPECT_EQ(a.GetUpperBound(), -1);
  EXPECT_EQ(a.Add(1), 0);
  EXPECT_EQ(a.Add(4), 1);
  a.InsertAt(1, 2);
  a.InsertAt(2, 3);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 3, 4}));
  a.InsertAt(0, 0, 2);
  EXPECT_EQ(contents(a), (std::vector<int>{0, 0, 1, 2, 3, 4}));
  a.RemoveAt(0, 2);
  a.RemoveAt(3);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 3}));
  a.SetSize(5);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 3, 0, 0}));
  a.SetSize(2);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2}));
  a.SetAtGrow(4, 9);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 0, 0, 9}));
  a.ElementAt(0) = 7;
  a[1] = 8;
  a.SetAt(2, 6);
  EXPECT_EQ(contents(a), (std::vector<int>{7, 8, 6, 0, 9}));
  EXPECT_EQ(a.GetData()[4], 9);
  a.RemoveAll();
  EXPECT_EQ(a.GetSize(), 0);
}

TEST(CArray, AddingAnElementOfItselfSurvivesReallocation) {
  CArray<int, const int&> a;
  a.Add(5);
  for (int i = 0; i < 100; ++i) a.Add(a[0]);
  a.SetAtGrow(500, a[0]);
  a.InsertAt(0, a[500], 3);
  EXPECT_EQ(a.GetSize(), 504);
  EXPECT_EQ(a[0], 5);
  EXPECT_EQ(a[503], 5);
  EXPECT_EQ(a[200], 0);
}

TEST(CArray, AppendCopyAndInsertArrays) {
  CArray<int, int> a;
  CArray<int, int> b;
  a.Add(1);
  b.Add(2);
  b.Add(3);
  EXPECT_EQ(a.Append(b), 1);
  EXPECT_EQ(a.Append(a), 3);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 3, 1, 2, 3}));
  a.InsertAt(1, &b);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 3, 2, 3, 1, 2, 3}));
  a.Copy(b);
  EXPECT_EQ(contents(a), (std::vector<int>{2, 3}));
}

TEST(CPtrArray, InsertPastTheEndPadsWithNull) {
  int x = 1;
  int y = 2;
  CPtrArray a;
  a.Add(&x);
  a.InsertAt(3, &y);
  ASSERT_EQ(a.GetSize(), 4);
  EXPECT_EQ(a.GetAt(0), &x);
  EXPECT_EQ(a.GetAt(1), nullptr);
  EXPECT_EQ(a.GetAt(2), nullptr);
  EXPECT_EQ(a.GetAt(3), &y);
}

TEST(CStringArray, HoldsIndependentCopiesOfText) {
  CStringArray names;
  char buffer[] = "Composite";
  names.Add(buffer);
  names.Add(CString("S-Video"));
  buffer[0] = 'X';
  EXPECT_STREQ(names[0], "Composite");
  names[1] += " 2";
  EXPECT_STREQ(names.GetAt(1), "S-Video 2");
  names.SetAtGrow(3, "Tuner");
  EXPECT_TRUE(names[2].IsEmpty());
  EXPECT_EQ(names.GetSize(), 4);
}

TEST(CStringArray, AnElementsTextLivesAsLongAsTheElement) {
  CStringArray names;
  names.Add("NTSC(n3.58)");
  names.Add("PAL");
  const CStringArray& view = names;
  LPCSTR text = view.GetAt(1);
  EXPECT_EQ(text, static_cast<LPCSTR>(names.ElementAt(1))) << "the element itself, not a copy";
  EXPECT_EQ(static_cast<LPCSTR>(view[0]), static_cast<LPCSTR>(names.ElementAt(0)));
  EXPECT_STREQ(text, "PAL");
}

#ifndef NDEBUG
TEST(CArrayDeathTest, OutOfRangeIndexAsserts) {
  CArray<int, int> a;
  a.Add(1);
  EXPECT_DEATH(a.GetAt(1), "Assertion failed");
  EXPECT_DEATH(a.ElementAt(-1), "Assertion failed");
}
#endif

}  // namespace
