// Cursors read from cursor (.cur) and icon files, as LoadCursorFromFile does.
#pragma once

#include <win32/types.h>

// The file's image nearest the system cursor size, with its hot spot; NULL with
// ERROR_FILE_NOT_FOUND for a missing file and ERROR_INVALID_DATA for one that is no
// cursor or icon file.
HCURSOR LoadCursorFromFileA(LPCSTR lpFileName);
#define LoadCursorFromFile LoadCursorFromFileA
