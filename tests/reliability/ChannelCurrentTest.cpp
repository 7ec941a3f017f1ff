// "ZRQChannels.chl" whose current channels lie outside their lists: each takes the list's
// first channel when loaded, so the TV window tunes a channel and shows its number; a
// current channel the list holds is kept.
#include "CoreTest.h"

#include "core/data/CChannelList.h"

namespace {

using test::Bytes;
using test::putInt;

constexpr std::size_t kHeader = 16;
constexpr std::size_t kRecord = 84;

class ChannelCurrentTest : public test::SettingsTest {
 protected:
  // List 1 holds channels 3 and 5, list 2 none; the header names the currents given.
  Bytes file(std::int32_t current1, std::int32_t current2) {
    Bytes bytes(kHeader + 2 * kRecord, 0);
    putInt(bytes, 0, current1);
    putInt(bytes, 4, current2);
    putInt(bytes, 8, 2);
    putInt(bytes, 12, 0);
    for (int i = 0; i < 2; ++i) putInt(bytes, kHeader + i * kRecord + 80, 3 + 2 * i);
    return bytes;
  }
  std::string path = programPath("ZRQChannels.chl");
};

TEST_F(ChannelCurrentTest, ACurrentChannelOutsideItsListTakesTheListsFirst) {
  for (const auto& [stored, loaded] : std::vector<std::pair<std::int32_t, int>>{
           {3, 3}, {5, 5}, {4, 3}, {6, 3}, {2, 3}, {0, 3}, {-1, 3}, {INT32_MAX, 3}, {INT32_MIN, 3}}) {
    writeBytes(path, file(stored, stored));
    CChannelList list;
    ASSERT_EQ(list.LoadFile(path.c_str()), 1) << stored;
    EXPECT_EQ(list.GetCurrentChannel(1), loaded) << stored;
    EXPECT_EQ(list.GetCurrentChannel(2), stored) << "an empty list keeps its own";
  }
}

TEST_F(ChannelCurrentTest, TheChannelTakenIsTunedAndNamed) {
  writeBytes(path, file(99999, -7));
  CChannelList list;
  ASSERT_EQ(list.LoadFile(path.c_str()), 1);
  ASSERT_EQ(list.TuneChannelQuick(list.GetCurrentChannel(1), 1), 1);
  CString text;
  ASSERT_EQ(list.GetTunedChannelText(text), 1);
  EXPECT_EQ(std::string(text), "Channel 3");
}

}  // namespace
