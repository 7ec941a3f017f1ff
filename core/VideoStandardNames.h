// The analogue video-standard names the program knows, and their grouping into the
// 625-line family (code 3) and the 525-line family (code 4) that
// SettingsRecord::LineStandard holds.
#pragma once

struct VideoStandardNames {
  // Standards of the Composite and S-Video inputs, indexed by SettingsRecord::AvInputStandard.
  static constexpr const char* AvInput[] = {"NTSC(n3.58)", "NTSC(n4.33)", "PAL", "SECAM"};
  static constexpr int AvInputCount = 4;
  // The standards a channel of the list may be given by hand, in the order they are offered.
  static constexpr const char* Tuner[] = {"PAL_B", "PAL_D", "PAL_I", "SECAM_B", "SECAM_D", "SECAM_K1"};

  static constexpr const char* Family625[] = {"PAL_D",   "PAL_B",   "PAL_H",   "PAL_I",    "PAL_N",
                                              "PAL_60",  "PAL_N_COMBO", "SECAM_B", "SECAM_D", "SECAM_G",
                                              "SECAM_H", "SECAM_K", "SECAM_K1", "SECAM_L", "SECAM_L1"};
  static constexpr const char* Family525[] = {"NTSC_M", "NTSC_M_J", "NTSC_433", "PAL_M"};
  static constexpr int kFamily625 = 3;
  static constexpr int kFamily525 = 4;

  // 3 or 4 for a name of either family (exact, case-sensitive), else -1.
  static int FamilyOf(const char* name);
};
