// Names of the files the capture graphs write: every recording and every snapshot takes
// the next free name of the series "cap00", "cap01", ... in its folder. A name's number
// is the text after its first three characters up to its extension, so a file renamed
// "abc05.mpg" still holds 05; names without a number hold none.
#pragma once

#include <mfc/CString.h>
#include <mfc/CStringArray.h>

// The first free name ("cap07.mpg") among the files of `folder` (which ends in a
// backslash) matching `pattern` ("*.mpg"), with `extension` (".mpg") appended. The names
// found are left in `names`, in the search's order. A folder that cannot be searched
// counts as empty.
CString NextCaptureFileName(LPCSTR folder, LPCSTR pattern, LPCSTR extension, CStringArray& names);
