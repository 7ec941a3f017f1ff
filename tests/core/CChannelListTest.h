// What the channel list tests share: a settings object and a channel list of their own,
// heap records made in one line, and the process-wide tuned records released afterwards.
#pragma once

#include "CoreTest.h"

#include "core/data/CChannelList.h"

#include <win32/time.h>

#include <cstring>
#include <memory>

namespace test {

// A heap record as the scan or the channel window hands it over.
inline ChannelRecord* NewRecord(int number, const char* name = nullptr, float mhz = 175.25f, std::uint32_t skip = 0,
                                const char* standard = "PAL_D") {
  auto* record = new ChannelRecord{};
  record->SkipFlag = skip;
  std::strncpy(record->StandardName, standard, sizeof record->StandardName - 1);
  if (name) {
    std::strncpy(record->ChannelName, name, sizeof record->ChannelName - 1);
  } else {
    std::snprintf(record->ChannelName, sizeof record->ChannelName, "Channel%d", number);
  }
  record->Frequency = mhz;
  record->ChannelNumber = number;
  return record;
}

class ChannelListTest : public SettingsTest {
 protected:
  ChannelListTest() {
    settings().CountryCode = 49;
    settings().VideoInput = 1;
  }
  ~ChannelListTest() override {
    for (ChannelRecord** record : {&g_pCurrentChannelRecord, &g_pPreviousChannelRecord, &g_pTunedChannelRecord}) {
      delete *record;
      *record = nullptr;
    }
  }

  // Fills a list with records of these numbers, named "Channel<n>" at 100 + n MHz.
  void fill(int list, std::initializer_list<int> numbers) {
    for (int n : numbers) ASSERT_EQ(channels.AddChannel(list, NewRecord(n, nullptr, 100.0f + n)), 1);
  }

  // Milliseconds the calling thread waited while `action` ran.
  template <class F>
  DWORD waited(F action) {
    const DWORD before = GetTickCount();
    action();
    return GetTickCount() - before;
  }

  CChannelList channels;
};

}  // namespace test
