// The one save request of the program (save_option_s): filled by the recording options
// dialog, handed by the video editor to the project library's save. The editor or the
// dialog makes it, zero-filled, on first use; the editor frees it when it goes.
//
// The compressor filters in it are references the record holds: whoever puts a filter in
// first lets the one there go, and the holder releases them once the save has read them.
#pragma once

#include "edit_project/Project.h"

extern save_option_s* g_pSaveOption;

// The record, made zero-filled when there is none yet; null when it cannot be made.
save_option_s* MakeSaveOption();
// Lets both compressors of the record go and clears the fields.
void ReleaseSaveCompressors(save_option_s& record);
// Releases the compressors and frees the record.
void FreeSaveOption();
