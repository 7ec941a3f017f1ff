#include "core/MediaListFile.h"

#include "core/CMediaFileItem.h"
#include "core/data/CFileHandle.h"

#include <win32/file.h>
#include <win32/handleapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr DWORD kCountSize = 4;
constexpr DWORD kRecordSize = sizeof(MediaListRecord);

// Far above any history a user gathers (about 250,000 records): a larger file is refused
// unread rather than loaded into memory.
constexpr LONGLONG kLargestList = LONGLONG{64} << 20;

// The whole file; false when it is missing, unreadable or larger than any list.
bool ReadWholeList(LPCSTR listPath, std::vector<BYTE>& bytes) {
  TakeLeftoverFileA(listPath);
  CFileHandle list(CreateFileA(listPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!list || !GetFileSizeEx(list.get(), &size) || size.QuadPart > kLargestList) return false;
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  return bytes.empty() || (ReadFile(list.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                           read == bytes.size());
}

// Whole records after the count field.
std::int64_t RecordsHeld(const std::vector<BYTE>& bytes) {
  return bytes.size() < kCountSize ? 0 : static_cast<std::int64_t>((bytes.size() - kCountSize) / kRecordSize);
}

void PutCount(BYTE* bytes, std::int32_t count) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(static_cast<std::uint32_t>(count) >> (8 * i));
}

std::int32_t CountAt(const BYTE* bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  return static_cast<std::int32_t>(value);
}

// The record's bytes in file order; false for a path that does not fit.
bool MakeRecord(DWORD kind, LPCSTR path, BYTE (&bytes)[kRecordSize]) {
  const std::size_t length = std::strlen(path);
  if (length >= sizeof MediaListRecord::Path) return false;
  std::memset(bytes, 0, sizeof bytes);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(kind >> (8 * i));
  std::memcpy(bytes + offsetof(MediaListRecord, Path), path, length);
  return true;
}

// A record as a new item; null for a kind other than video or picture, or a path that
// is empty or not terminated within its field.
CMediaFileItem* ItemFrom(const BYTE* bytes, int order) {
  const DWORD kind = static_cast<DWORD>(CountAt(bytes));
  const char* path = reinterpret_cast<const char*>(bytes + offsetof(MediaListRecord, Path));
  const std::size_t length = strnlen(path, sizeof MediaListRecord::Path);
  if ((kind != kMediaListVideo && kind != kMediaListPicture) || length == 0 || length == sizeof MediaListRecord::Path)
    return nullptr;
  auto* item = new CMediaFileItem;
  item->SetLoadOrder(order);
  item->SetVideo(kind == kMediaListVideo);
  const CString text(path, static_cast<int>(length));
  if (kind == kMediaListVideo) {
    item->SetVideoPath(text);
  } else {
    item->SetImagePath(text);
  }
  item->SetDisplayName(nullptr);
  return item;
}

}  // namespace

bool AppendMediaList(LPCSTR listPath, LPCSTR filePath, DWORD kind) {
  if (!listPath || !filePath || !FileExists(filePath)) return false;
  BYTE record[kRecordSize];
  if (!MakeRecord(kind, filePath, record)) return false;
  std::vector<BYTE> image;
  std::int64_t count = 0;
  if (ReadWholeList(listPath, image)) {
    // A count the file's records do not back (a damaged list) is never trusted: the list
    // keeps the whole records it holds.
    if (image.size() < kCountSize) return false;
    count = CountAt(image.data());
    if (count < 0) return false;
    count = std::min(count, RecordsHeld(image));
  } else if (GetFileAttributesA(listPath) != INVALID_FILE_ATTRIBUTES) {
    return false;
  }
  image.resize(kCountSize + static_cast<std::size_t>(count) * kRecordSize);
  image.insert(image.end(), record, record + kRecordSize);
  PutCount(image.data(), static_cast<std::int32_t>(count + 1));
  return ReplaceFileContentsA(listPath, image.data(), static_cast<DWORD>(image.size())) != FALSE;
}

bool LoadMediaList(LPCSTR listPath, CPtrArray& items) {
  std::vector<BYTE> bytes;
  if (!listPath || !ReadWholeList(listPath, bytes) || bytes.size() < kCountSize) return false;
  const std::int32_t count = CountAt(bytes.data());
  // Bytes past the last counted record are not read.
  if (count < 0 || count > RecordsHeld(bytes)) return false;
  std::vector<std::unique_ptr<CMediaFileItem>> loaded;
  for (int n = 0; n < count; ++n) {
    std::unique_ptr<CMediaFileItem> item(ItemFrom(bytes.data() + kCountSize + static_cast<std::size_t>(n) * kRecordSize, n));
    if (!item) return false;
    loaded.push_back(std::move(item));
  }
  for (auto& item : loaded) items.Add(item.release());
  return true;
}

bool SaveMediaList(LPCSTR listPath, const CPtrArray& items) {
  if (!listPath) return false;
  std::vector<BYTE> image(kCountSize);
  PutCount(image.data(), items.GetSize());
  for (int n = 0; n < items.GetSize(); ++n) {
    const auto* item = static_cast<const CMediaFileItem*>(items.GetAt(n));
    BYTE record[kRecordSize];
    if (!item || !MakeRecord(item->IsVideo() ? kMediaListVideo : kMediaListPicture, item->GetMainPath(), record))
      return false;
    image.insert(image.end(), record, record + kRecordSize);
  }
  return ReplaceFileContentsA(listPath, image.data(), static_cast<DWORD>(image.size()));
}
