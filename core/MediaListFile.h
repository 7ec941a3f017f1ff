// The media history lists: "histroyMedia.lis" for videos and "histroyPicture.lis" for
// pictures, in the program folder (names spelled so). Recordings, snapshots and opened
// files are appended to them; the thumbnail windows load and save whole lists.
//
// File layout, little-endian: a signed 32-bit count, then `count` records of 264 bytes
// (unsigned 32-bit kind, 1 video and 0 picture; a NUL-terminated path in 260 bytes). A
// negative count marks an unusable file.
#pragma once

#include <mfc/afx.h>
#include <win32/types.h>

#include <cstddef>

struct MediaListRecord {
  DWORD Kind;
  char Path[260];
};
static_assert(sizeof(MediaListRecord) == 264);
static_assert(offsetof(MediaListRecord, Path) == 4);

constexpr LPCSTR kMediaHistoryFile = "histroyMedia.lis";
constexpr LPCSTR kPictureHistoryFile = "histroyPicture.lis";
constexpr DWORD kMediaListVideo = 1;
constexpr DWORD kMediaListPicture = 0;

// Adds a record for an existing file, creating the list when it is missing; the list is
// saved whole, so a failed append leaves it as it was. A count larger than the records
// the file holds is cut to them. False for a null list path, a missing file, a path too
// long for the record, or a list that cannot be read (no count, or a negative one) or written.
bool AppendMediaList(LPCSTR listPath, LPCSTR filePath, DWORD kind);

// Adds one new CMediaFileItem (owned by the caller) per record to `items`, numbered in
// file order. A missing, truncated or foreign file is refused and `items` stays as it was.
bool LoadMediaList(LPCSTR listPath, CPtrArray& items);

// Writes the items (CMediaFileItem pointers) as the whole list. The file is first written
// complete beside the list and then put in its place, so a failed save leaves the old list.
bool SaveMediaList(LPCSTR listPath, const CPtrArray& items);
