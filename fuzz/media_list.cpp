// ".lis" history lists: any bytes load whole or are refused; a list that loads saves back
// to the same items; appending to any list (damaged ones too) adds one record and keeps
// no more than the records the file held.
#include "FuzzMachine.h"

#include "core/CMediaFileItem.h"
#include "core/MediaListFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

struct Items {
  CPtrArray array;
  ~Items() {
    for (int n = 0; n < array.GetSize(); ++n) delete static_cast<CMediaFileItem*>(array.GetAt(n));
  }
  CMediaFileItem* at(int n) const { return static_cast<CMediaFileItem*>(array.GetAt(n)); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  const auto file = machine.put("histroyMedia.lis", data, size);
  const std::string path = machine.programPath("histroyMedia.lis");
  Items items;
  if (LoadMediaList(path.c_str(), items.array)) {
    const std::string copy = machine.programPath("copy.lis");
    fuzz::check(SaveMediaList(copy.c_str(), items.array), "a loaded list saves");
    Items again;
    fuzz::check(LoadMediaList(copy.c_str(), again.array), "a saved list loads");
    fuzz::check(again.array.GetSize() == items.array.GetSize(), "as many items");
    for (int n = 0; n < items.array.GetSize(); ++n) {
      fuzz::check(again.at(n)->IsVideo() == items.at(n)->IsVideo(), "the same kind");
      fuzz::check(CString(again.at(n)->GetMainPath()) == items.at(n)->GetMainPath(), "the same path");
    }
  }
  const std::string recorded = machine.programPath("cap00.mpg");
  if (!std::filesystem::exists(machine.programFolder() / "cap00.mpg"))
    std::ofstream(machine.programFolder() / "cap00.mpg") << "x";
  if (AppendMediaList(path.c_str(), recorded.c_str(), kMediaListVideo)) {
    const auto after = std::filesystem::file_size(file);
    fuzz::check(after <= std::max<std::size_t>(size, 4) + 264, "an append adds one record at most");
    Items appended;
    fuzz::check(!LoadMediaList(path.c_str(), appended.array) || appended.array.GetSize() >= 1, "the record is there");
  } else {
    fuzz::check(fuzz::FuzzMachine::read(file) == std::string(reinterpret_cast<const char*>(data), size),
                "a refused append leaves the list");
  }
  return 0;
}
