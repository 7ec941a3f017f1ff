#include <win32/shell/dropfiles.h>

#include <com/globalmem.h>
#include <win32/user.h>

#include <cstring>

namespace {

// The block's file list, checked against the block's size: null when it is not a drop.
const char* fileList(HDROP drop, std::size_t& size) {
  size = GlobalSize(drop);
  if (size < sizeof(DROPFILES)) return nullptr;
  const auto* block = static_cast<const char*>(GlobalLock(drop));
  if (!block) return nullptr;
  DROPFILES header;
  std::memcpy(&header, block, sizeof(header));
  GlobalUnlock(drop);
  if (header.fWide || header.pFiles < sizeof(DROPFILES) || header.pFiles >= size) return nullptr;
  size -= header.pFiles;
  // The block stays where it is while it lives: the shell's drops are never moved.
  return block + header.pFiles;
}

}  // namespace

void DragAcceptFiles(HWND hWnd, BOOL fAccept) {
  const LONG style = GetWindowLongA(hWnd, GWL_EXSTYLE);
  SetWindowLongA(hWnd, GWL_EXSTYLE, fAccept ? (style | WS_EX_ACCEPTFILES) : (style & ~WS_EX_ACCEPTFILES));
}

UINT DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch) {
  std::size_t size = 0;
  const char* files = fileList(hDrop, size);
  if (!files) return 0;
  UINT index = 0;
  for (std::size_t at = 0; at < size && files[at] != '\0';) {
    const std::size_t length = strnlen(files + at, size - at);
    if (index == iFile) {
      if (lpszFile && cch > 0) {
        const std::size_t n = length < cch - 1 ? length : cch - 1;
        std::memcpy(lpszFile, files + at, n);
        lpszFile[n] = '\0';
      }
      return static_cast<UINT>(length);
    }
    ++index;
    at += length + 1;
  }
  return iFile == 0xFFFFFFFF ? index : 0;
}

BOOL DragQueryPoint(HDROP hDrop, LPPOINT lppt) {
  if (!lppt || GlobalSize(hDrop) < sizeof(DROPFILES)) return FALSE;
  DROPFILES header;
  std::memcpy(&header, GlobalLock(hDrop), sizeof(header));
  GlobalUnlock(hDrop);
  *lppt = header.pt;
  return !header.fNC;
}

void DragFinish(HDROP hDrop) { GlobalFree(hDrop); }

namespace plat {

HDROP MakeDropFiles(const std::vector<std::string>& paths, POINT point) {
  std::size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& path : paths) size += path.size() + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* bytes = static_cast<char*>(GlobalLock(block));
  if (!bytes) return nullptr;
  DROPFILES header{sizeof(DROPFILES), point, FALSE, FALSE};
  std::memcpy(bytes, &header, sizeof(header));
  char* at = bytes + sizeof(DROPFILES);
  for (const std::string& path : paths) {
    std::memcpy(at, path.c_str(), path.size() + 1);
    at += path.size() + 1;
  }
  GlobalUnlock(block);
  return reinterpret_cast<HDROP>(block);
}

}  // namespace plat
