#include "core/MediaListFile.h"

#include "core/CFileHandle.h"
#include "core/CMediaFileItem.h"

#include <win32/error.h>
#include <win32/file.h>
#include <win32/handleapi.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr DWORD kCountSize = 4;
constexpr DWORD kRecordSize = sizeof(MediaListRecord);

bool ReadAt(HANDLE file, LONGLONG offset, void* buffer, DWORD size) {
  LARGE_INTEGER at{};
  at.QuadPart = offset;
  DWORD read = 0;
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, buffer, size, &read, nullptr) &&
         read == size;
}

bool WriteAt(HANDLE file, LONGLONG offset, const void* buffer, DWORD size) {
  LARGE_INTEGER at{};
  at.QuadPart = offset;
  DWORD written = 0;
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && WriteFile(file, buffer, size, &written, nullptr) &&
         written == size;
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
  CFileHandle list(CreateFileA(listPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!list) return false;
  std::int32_t count = 0;
  BYTE countBytes[kCountSize] = {};
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    if (!ReadAt(list.get(), 0, countBytes, kCountSize)) return false;
    count = CountAt(countBytes);
  }
  if (count < 0 || count == INT32_MAX) return false;
  if (!WriteAt(list.get(), kCountSize + static_cast<LONGLONG>(count) * kRecordSize, record, kRecordSize)) return false;
  PutCount(countBytes, count + 1);
  return WriteAt(list.get(), 0, countBytes, kCountSize) && list.Close();
}

bool LoadMediaList(LPCSTR listPath, CPtrArray& items) {
  if (!listPath) return false;
  CFileHandle list(CreateFileA(listPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!list || !GetFileSizeEx(list.get(), &size)) return false;
  BYTE countBytes[kCountSize];
  if (!ReadAt(list.get(), 0, countBytes, kCountSize)) return false;
  const std::int32_t count = CountAt(countBytes);
  // Bytes past the last record are left by an append that failed; they are not counted.
  if (count < 0 || size.QuadPart < kCountSize + static_cast<LONGLONG>(count) * kRecordSize) return false;
  std::vector<BYTE> records(static_cast<std::size_t>(count) * kRecordSize);
  if (count > 0 && !ReadAt(list.get(), kCountSize, records.data(), static_cast<DWORD>(records.size()))) return false;
  std::vector<std::unique_ptr<CMediaFileItem>> loaded;
  for (int n = 0; n < count; ++n) {
    std::unique_ptr<CMediaFileItem> item(ItemFrom(records.data() + static_cast<std::size_t>(n) * kRecordSize, n));
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
  return CFileHandle::ReplaceWhole(listPath, image.data(), static_cast<DWORD>(image.size()));
}
