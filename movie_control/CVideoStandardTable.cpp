#include "CVideoStandardTable.h"

#include <com/hresult.h>

#include <cstring>
#include <strings.h>

namespace {

constexpr VideoStandardRow kRows[] = {
    {0x0, "None"},         {0x1, "NTSC_M"},        {0x2, "NTSC_M_J"},     {0x4, "NTSC_433"},
    {0x10, "PAL_B"},       {0x20, "PAL_D"},        {0x40, "PAL_G"},       {0x80, "PAL_H"},
    {0x100, "PAL_I"},      {0x200, "PAL_M"},       {0x400, "PAL_N"},      {0x800, "PAL_60"},
    {0x1000, "SECAM_B"},   {0x2000, "SECAM_D"},    {0x4000, "SECAM_G"},   {0x8000, "SECAM_H"},
    {0x10000, "SECAM_K"},  {0x20000, "SECAM_K1"},  {0x40000, "SECAM_L"},  {0x80000, "SECAM_L1"},
    {0x100000, "PAL_N_COMBO"},
    {-1, nullptr},
};

}  // namespace

std::span<const VideoStandardRow> CVideoStandardTable::Rows() { return kRows; }

HRESULT CVideoStandardTable::StandardFromName(const char* name, long* bit) {
  if (!name || !bit) return E_POINTER;
  for (const VideoStandardRow& row : kRows) {
    if (!row.name) break;
    if (strcasecmp(row.name, name) == 0) {
      *bit = row.bit;
      return S_OK;
    }
  }
  return E_FAIL;
}

HRESULT CVideoStandardTable::NameFromStandard(long bit, char* buffer, std::size_t size) {
  if (!buffer) return E_POINTER;
  if (size == 0) return E_FAIL;
  for (const VideoStandardRow& row : kRows) {
    if (!row.name) break;
    if (row.bit == bit) {
      const std::size_t length = std::min(std::strlen(row.name), size - 1);
      std::memcpy(buffer, row.name, length);
      buffer[length] = '\0';
      return S_OK;
    }
  }
  return E_FAIL;
}
