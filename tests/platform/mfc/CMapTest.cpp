#include <mfc/CMap.h>
#include <mfc/CMapPtrToPtr.h>
#include <mfc/CMapStringToOb.h>
#include <mfc/CMapStringToPtr.h>
#include <mfc/CMapStringToString.h>

#include <gtest/gtest.h>

#include <map>

namespace {

struct ChannelRecord {
  int number;
};

template <class Map, class K, class V>
std::map<K, V> walk(const Map& map) {
  std::map<K, V> out;
  for (POSITION pos = map.GetStartPosition(); pos;) {
    K key{};
    V value{};
    map.GetNextAssoc(pos, key, value);
    EXPECT_TRUE(out.emplace(key, value).second) << "key visited twice";
  }
  return out;
}

TEST(CMap, LooksUpOverwritesAndRemoves) {
  CMap<int, int, ChannelRecord*, ChannelRecord*> map;
  map.InitHashTable(17);
  ChannelRecord records[40];
  for (int i = 0; i < 40; ++i) {
    records[i].number = i;
    map.SetAt(i * 17, &records[i]);  // every key in the same bucket
  }
  EXPECT_EQ(map.GetCount(), 40);
  ChannelRecord* found = nullptr;
  ASSERT_TRUE(map.Lookup(17 * 39, found));
  EXPECT_EQ(found->number, 39);
  EXPECT_FALSE(map.Lookup(1, found));
  EXPECT_EQ(found->number, 39);  // untouched on a miss

  map.SetAt(0, &records[5]);
  EXPECT_EQ(map.GetCount(), 40);
  ASSERT_TRUE(map.Lookup(0, found));
  EXPECT_EQ(found, &records[5]);

  EXPECT_TRUE(map.RemoveKey(17 * 20));
  EXPECT_FALSE(map.RemoveKey(17 * 20));
  EXPECT_FALSE(map.Lookup(17 * 20, found));
  EXPECT_EQ(map.GetCount(), 39);
  EXPECT_TRUE(map.Lookup(17 * 21, found));
}

TEST(CMap, WalkVisitsEveryKeyOnceAndMayRemoveWhatItWasGiven) {
  CMap<int, int, int, int> map;
  for (int i = 0; i < 100; ++i) map[i] = i * 2;
  EXPECT_EQ((walk<decltype(map), int, int>(map).size()), 100u);

  int visited = 0;
  for (POSITION pos = map.GetStartPosition(); pos;) {
    int key = 0;
    int value = 0;
    map.GetNextAssoc(pos, key, value);
    EXPECT_EQ(value, key * 2);
    ++visited;
    if (key % 3 != 0) map.RemoveKey(key);
  }
  EXPECT_EQ(visited, 100);
  const auto rest = walk<decltype(map), int, int>(map);
  EXPECT_EQ(rest.size(), 34u);
  for (const auto& [key, value] : rest) EXPECT_EQ(key % 3, 0);
}

TEST(CMap, RehashKeepsEveryEntry) {
  CMap<int, int, int, int> map;
  for (int i = 0; i < 50; ++i) map.SetAt(i, -i);
  map.InitHashTable(10);
  EXPECT_EQ(map.GetHashTableSize(), 10u);
  int value = 0;
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(map.Lookup(i, value));
    EXPECT_EQ(value, -i);
  }
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(CMapPtrToPtr, KeysByAddress) {
  int a = 0;
  int b = 0;
  CMapPtrToPtr map;
  map.InitHashTable(10);
  map.SetAt(&a, &b);
  void* value = nullptr;
  EXPECT_TRUE(map.Lookup(&a, value));
  EXPECT_EQ(value, &b);
  EXPECT_FALSE(map.Lookup(&b, value));
}

TEST(CMapStringToPtr, KeysByTextNotByAddress) {
  int x = 0;
  CMapStringToPtr map;
  char key[] = "TV_BUTTON";
  map.SetAt(key, &x);
  key[0] = 'X';  // the map copied the key
  void* value = nullptr;
  EXPECT_TRUE(map.Lookup(CString("TV_") + "BUTTON", value));
  EXPECT_EQ(value, &x);
  EXPECT_FALSE(map.Lookup("tv_button", value));
  EXPECT_FALSE(map.Lookup(key, value));
}

TEST(CMapStringToString, OverwritesValues) {
  CMapStringToString map;
  map.SetAt("Country", "Germany");
  map["Country"] = "France";
  map.SetAt("Standard", "PAL");
  CString value;
  EXPECT_TRUE(map.Lookup("Country", value));
  EXPECT_STREQ(value, "France");
  EXPECT_EQ(map.GetCount(), 2);
  const auto all = walk<CMapStringToString, CString, CString>(map);
  EXPECT_EQ(all.size(), 2u);
}

TEST(CMapStringToOb, StoresObjects) {
  class Item : public CObject {};
  Item item;
  CMapStringToOb map;
  map.SetAt("item", &item);
  CObject* found = nullptr;
  EXPECT_TRUE(map.Lookup("item", found));
  EXPECT_EQ(found, &item);
  EXPECT_TRUE(map.RemoveKey("item"));
  EXPECT_TRUE(map.IsEmpty());
}

}  // namespace
