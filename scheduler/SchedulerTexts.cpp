#include "scheduler/SchedulerTexts.h"

#include <cstdint>

namespace {

struct TextRow {
  std::int32_t id;
  const char* gb2312;
  const char* big5;
  const char* english;
};

// "The App is Running!" in GB2312, in Big5 and in English.
constexpr TextRow kTexts[] = {
    {SchedulerTexts::kAlreadyRunning, "\xB3\xCC\xD0\xF2\xD2\xD1\xD4\xDA\xD4\xCB\xD0\xD0!",
     "\xB5\x7B\xA6\xA1\xA4\x77\xA6\x62\xB0\xF5\xA6\xE6!", "The App is Running!"},
};

const TextRow* Find(int id) {
  for (const TextRow& row : kTexts) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

}  // namespace

namespace SchedulerTexts {

LPCSTR Lookup(int id) {
  const TextRow* row = Find(id);
  return row ? row->big5 : nullptr;
}

LPCSTR English(int id) {
  const TextRow* row = Find(id);
  return row ? row->english : nullptr;
}

}  // namespace SchedulerTexts
