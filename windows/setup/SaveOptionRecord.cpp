#include "windows/setup/SaveOptionRecord.h"

#include <new>

save_option_s* g_pSaveOption = nullptr;

save_option_s* MakeSaveOption() {
  if (!g_pSaveOption) g_pSaveOption = new (std::nothrow) save_option_s{};
  return g_pSaveOption;
}

void ReleaseSaveCompressors(save_option_s& record) {
  if (record.video_compressor) record.video_compressor->Release();
  if (record.audio_compressor) record.audio_compressor->Release();
  record.video_compressor = nullptr;
  record.audio_compressor = nullptr;
}

void FreeSaveOption() {
  if (!g_pSaveOption) return;
  ReleaseSaveCompressors(*g_pSaveOption);
  delete g_pSaveOption;
  g_pSaveOption = nullptr;
}
