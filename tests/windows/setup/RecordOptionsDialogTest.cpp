// The recording options dialog run as the video editor runs it, answered by the robot
// while its modal loop waits: its texts and defaults, the compressors it lists and binds,
// the type choices, the output path it makes of what was typed or chosen, and a record
// left as it was when the dialog is cancelled or a path does not fit.
#include "windows/setup/CRecordOptionsDlg.h"
#include "windows/setup/SaveOptionRecord.h"

#include <support/TestMachine.h>

#include <com/objbase.h>
#include <dshow/baseclasses/FilterRegistration.h>
#include <dshow/dshow.h>
#include <dshow/filters/AlawCompressor.h>
#include <mfc/afxwin.h>
#include <robot/Robot.h>
#include <robot/Screenshot.h>
#include <win32/commdlg/FileDialog.h>
#include <win32/commdlg/commdlg.h>

#include <cstring>
#include <functional>

namespace test {
namespace {

constexpr const char* kTitle = "Select parameter";
constexpr int kMpeg1 = CRecordOptionsDlg::kTypeMpeg1;
constexpr int kMpeg2 = CRecordOptionsDlg::kTypeMpeg2;
constexpr int kAvi = CRecordOptionsDlg::kTypeAvi;
constexpr int kPath = CRecordOptionsDlg::kPathEdit;
constexpr int kVideoList = CRecordOptionsDlg::kVideoList;
constexpr int kAudioList = CRecordOptionsDlg::kAudioList;
constexpr int kUseVideo = CRecordOptionsDlg::kUseVideo;
constexpr int kUseAudio = CRecordOptionsDlg::kUseAudio;

class RecordOptionsDialogTest : public MachineTest {
 protected:
  using Step = std::function<void(plat::Robot&, HWND)>;

  RecordOptionsDialogTest() { CoInitialize(nullptr); }
  ~RecordOptionsDialogTest() override {
    FreeSaveOption();
    CoUninitialize();
  }

  // Runs the dialog; each step works in it once its modal loop has handled what the step
  // before did, then OK is pressed unless `accept` is false. What DoModal gave.
  INT_PTR run(const std::vector<Step>& steps, bool accept = true) {
    for (const Step& step : steps) {
      robot.duringModal([step](plat::Robot& r) {
        if (HWND dialog = r.findWindow("#32770", kTitle)) step(r, dialog);
      });
    }
    if (accept) robot.duringModal([](plat::Robot& r) { clickIn(r, CRecordOptionsDlg::kOkButton); });
    CRecordOptionsDlg dialog;
    return dialog.DoModal();
  }
  // OK with the type chosen by its radio button and `path` typed; the record's path.
  std::string accepted(int typeButton, const std::string& path) {
    EXPECT_EQ(run({clicking(typeButton), typing(path)}), IDOK);
    return g_pSaveOption ? g_pSaveOption->output_file : "";
  }
  // Clicks the dialog's control, when the dialog is there.
  static void clickIn(plat::Robot& r, int id) {
    if (HWND dialog = r.findWindow("#32770", kTitle)) r.click(r.control(dialog, id));
  }
  static Step clicking(int id) {
    return [id](plat::Robot& r, HWND d) { r.click(r.control(d, id)); };
  }
  static Step typing(const std::string& path) {
    return [path](plat::Robot&, HWND d) { SetDlgItemTextA(d, kPath, path.c_str()); };
  }
  static bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
  static bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
  static std::vector<std::string> rows(HWND dialog, int id) {
    std::vector<std::string> found;
    HWND list = GetDlgItem(dialog, id);
    const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[256] = {};
      SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      found.emplace_back(text);
    }
    return found;
  }
  static CLSID classOf(IBaseFilter* filter) {
    CLSID clsid = GUID_NULL;
    if (filter) filter->GetClassID(&clsid);
    return clsid;
  }
  static std::string now() { return static_cast<LPCSTR>(CTime::GetCurrentTime().Format("%Y%m%d%H%M%S")); }
  static std::filesystem::path shots() {
    const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "windows-screens";
    std::filesystem::create_directories(folder);
    return folder;
  }

  CWinApp app;
  plat::Robot robot;
};

TEST_F(RecordOptionsDialogTest, StartsWithItsTextsAviAndBothCompressorsChosen) {
  EXPECT_EQ(run({[&](plat::Robot& r, HWND d) {
              EXPECT_EQ(r.text(d), kTitle);
              const std::pair<int, const char*> texts[] = {
                  {1021, "Save Type:"}, {1022, "Save Path:"}, {1013, "Video compression format select(Only one AVI)"},
                  {1015, "Audio compression format select(Only one AVI)"}, {1019, "Video Compression"},
                  {1020, "Audio Compression"}, {1006, "Browse"}, {1017, "OK"}, {1018, "Cancel"}};
              for (const auto& [id, text] : texts) EXPECT_EQ(r.text(GetDlgItem(d, id)), text) << id;
              EXPECT_FALSE(checked(d, kMpeg1));
              EXPECT_FALSE(checked(d, kMpeg2));
              EXPECT_TRUE(checked(d, kAvi));
              EXPECT_TRUE(checked(d, kUseVideo));
              EXPECT_TRUE(checked(d, kUseAudio));
              for (int id : {kVideoList, kAudioList, kUseVideo, kUseAudio}) EXPECT_TRUE(enabled(d, id)) << id;
              EXPECT_EQ(rows(d, kVideoList), std::vector<std::string>{"Motion JPEG Compressor"});
              EXPECT_EQ(rows(d, kAudioList), std::vector<std::string>{"G.711 A-law Compressor"});
              EXPECT_EQ(SendDlgItemMessageA(d, kVideoList, CB_GETCURSEL, 0, 0), 0);
              EXPECT_EQ(SendDlgItemMessageA(d, kAudioList, CB_GETCURSEL, 0, 0), 0);
            },
                 typing("D:\\Films\\film.avi"),
                 [](plat::Robot&, HWND) { EXPECT_TRUE(plat::Screenshot::saveScreen(shots() / "record_options.png")); }}),
            IDOK);
  ASSERT_NE(g_pSaveOption, nullptr);
  EXPECT_EQ(g_pSaveOption->output_type, CRecordOptionsDlg::kOutputAvi);
  EXPECT_STREQ(g_pSaveOption->output_file, "D:\\Films\\film.avi");
  EXPECT_EQ(classOf(g_pSaveOption->audio_compressor), CLSID_AlawCompressor);
  EXPECT_NE(g_pSaveOption->video_compressor, nullptr);
}

// MPEG types switch the compressor choices off; AVI switches the lists on again whatever
// their check boxes say, and the check boxes decide at OK.
TEST_F(RecordOptionsDialogTest, OnlyAviTakesCompressorsAndAClearedBoxLeavesItsOneOut) {
  EXPECT_EQ(run({clicking(kMpeg1),
                 [&](plat::Robot&, HWND d) {
                   for (int id : {kVideoList, kAudioList, kUseVideo, kUseAudio}) EXPECT_FALSE(enabled(d, id)) << id;
                   EXPECT_TRUE(checked(d, kMpeg1));
                   EXPECT_FALSE(checked(d, kAvi));
                   EXPECT_TRUE(plat::Screenshot::saveWindow(d, shots() / "record_options_mpeg.png"));
                 },
                 clicking(kAvi), clicking(kUseVideo),
                 [&](plat::Robot&, HWND d) {
                   EXPECT_FALSE(checked(d, kUseVideo));
                   EXPECT_FALSE(enabled(d, kVideoList));
                   EXPECT_TRUE(enabled(d, kAudioList));
                 },
                 clicking(kMpeg2), [&](plat::Robot&, HWND d) { EXPECT_FALSE(enabled(d, kAudioList)); }, clicking(kAvi),
                 [&](plat::Robot&, HWND d) {
                   EXPECT_TRUE(enabled(d, kVideoList)) << "AVI enables both lists";
                   EXPECT_FALSE(checked(d, kUseVideo));
                 },
                 typing("D:\\film")}),
            IDOK);
  EXPECT_EQ(g_pSaveOption->output_type, CRecordOptionsDlg::kOutputAvi);
  EXPECT_EQ(g_pSaveOption->video_compressor, nullptr) << "its box was cleared";
  EXPECT_NE(g_pSaveOption->audio_compressor, nullptr);

  // Cleared and ticked again it is back; no row chosen binds nothing.
  EXPECT_EQ(run({clicking(kUseAudio), clicking(kUseAudio),
                 [&](plat::Robot&, HWND d) {
                   EXPECT_TRUE(checked(d, kUseAudio));
                   EXPECT_TRUE(enabled(d, kAudioList));
                   SendDlgItemMessageA(d, kVideoList, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                 }}),
            IDOK);
  EXPECT_EQ(g_pSaveOption->video_compressor, nullptr) << "no row chosen";
  EXPECT_NE(g_pSaveOption->audio_compressor, nullptr);

  EXPECT_EQ(accepted(kMpeg1, "D:\\a.mpg"), "D:\\a.mpg");
  EXPECT_EQ(g_pSaveOption->output_type, CRecordOptionsDlg::kOutputMpeg1);
  EXPECT_EQ(g_pSaveOption->video_compressor, nullptr);
  EXPECT_EQ(g_pSaveOption->audio_compressor, nullptr) << "the earlier one is let go";
  EXPECT_EQ(accepted(kMpeg2, "D:\\a.mpg"), "D:\\a.mpg");
  EXPECT_EQ(g_pSaveOption->output_type, CRecordOptionsDlg::kOutputMpeg2);
}

TEST_F(RecordOptionsDialogTest, ThePathGetsTheTypesExtensionInItsOwnNameOnly) {
  EXPECT_EQ(accepted(kMpeg2, "D:\\out.avi"), "D:\\out.mpg");
  EXPECT_EQ(accepted(kMpeg2, "D:\\out"), "D:\\out.mpg");
  EXPECT_EQ(accepted(kMpeg2, "D:\\out.MPG"), "D:\\out.MPG");
  EXPECT_EQ(accepted(kMpeg1, "D:\\out."), "D:\\out.mpg");
  EXPECT_EQ(accepted(kAvi, "D:\\out.mpg"), "D:\\out.avi");
  EXPECT_EQ(accepted(kAvi, "D:\\out.Avi"), "D:\\out.Avi");
  // A dot in a folder's name is no extension: the file stays in its folder.
  EXPECT_EQ(accepted(kMpeg2, "D:\\rec.v1\\clip"), "D:\\rec.v1\\clip.mpg");
  EXPECT_EQ(accepted(kAvi, "D:\\rec.v1\\clip.x"), "D:\\rec.v1\\clip.avi");
  // Nothing typed: a name made of the time on drive C:.
  const std::string made = accepted(kAvi, "");
  EXPECT_EQ(made, "c:\\" + now() + ".avi");
  EXPECT_EQ(made.size(), 3u + 14u + 4u);
  EXPECT_EQ(accepted(kMpeg1, ""), "c:\\" + now() + ".mpg");
}

// The record holds 259 characters of path: one more is refused, not cut, and the dialog
// stays for another path; the record keeps what it had.
TEST_F(RecordOptionsDialogTest, APathOfMoreThan259CharactersIsRefusedAndTheDialogStays) {
  const std::string fits = "D:\\" + std::string(252, 'n') + ".mpg";
  ASSERT_EQ(fits.size(), 259u);
  EXPECT_EQ(accepted(kMpeg2, fits), fits);
  EXPECT_EQ(std::memcmp(g_pSaveOption->output_file + 259, "\0\0\0\0\0", 5), 0);
  // 255 characters that take ".mpg" still fit; 256 do not.
  const std::string bare = "D:\\" + std::string(252, 'b');
  EXPECT_EQ(accepted(kMpeg2, bare), bare + ".mpg");

  for (const std::string& tooLong : {"D:\\" + std::string(253, 'n') + ".mpg", "D:\\" + std::string(253, 'b')}) {
    SCOPED_TRACE(tooLong.size());
    bool stayed = false;
    EXPECT_EQ(run({clicking(kMpeg2), typing(tooLong), clicking(CRecordOptionsDlg::kOkButton),
                   [&](plat::Robot& r, HWND d) {
                     stayed = IsWindowVisible(d) != FALSE;
                     r.click(r.control(d, CRecordOptionsDlg::kCancelButton));
                   }},
                  false),
              IDCANCEL);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(g_pSaveOption->output_file, bare + ".mpg") << "unchanged";
  }
}

TEST_F(RecordOptionsDialogTest, CancelLeavesTheRecordAsItWasAndEnterIsOk) {
  EXPECT_EQ(accepted(kAvi, "D:\\kept.avi"), "D:\\kept.avi");
  save_option_s before;
  std::memcpy(&before, g_pSaveOption, sizeof before);
  EXPECT_EQ(run({clicking(kMpeg1), typing("D:\\other.mpg"), clicking(CRecordOptionsDlg::kCancelButton)}, false),
            IDCANCEL);
  EXPECT_EQ(std::memcmp(&before, g_pSaveOption, sizeof before), 0);
  EXPECT_EQ(run({typing("D:\\other.mpg"), [](plat::Robot& r, HWND) { r.key(VK_ESCAPE); }}, false), IDCANCEL);
  EXPECT_EQ(std::memcmp(&before, g_pSaveOption, sizeof before), 0);
  // Enter in the path is the OK button: the record is filled.
  EXPECT_EQ(run({typing("D:\\entered"),
                 [](plat::Robot& r, HWND d) {
                   SetFocus(GetDlgItem(d, kPath));
                   r.key(VK_RETURN);
                 }},
                false),
            IDOK);
  EXPECT_STREQ(g_pSaveOption->output_file, "D:\\entered.avi");
}

// Browse offers a name made of the time with the type's extension and filter; what the
// user chose goes into the path, a cancel leaves it.
TEST_F(RecordOptionsDialogTest, BrowseOffersATimeNameAndPutsTheChoiceIntoThePath) {
  std::string offered;
  HWND owner = nullptr;
  robot.duringModal([&](plat::Robot& r) {
    owner = r.findWindow("#32770", kTitle);
    clickIn(r, kMpeg1);
  });
  robot.duringModal([&](plat::Robot& r) { clickIn(r, CRecordOptionsDlg::kBrowse); });
  robot.duringModal([&](plat::Robot& r) {
    HWND save = r.findWindow("#32770", "Save As");
    if (!save) return;
    offered = r.text(GetDlgItem(save, plat::FileDialog::kNameId));
    SetDlgItemTextA(save, plat::FileDialog::kNameId, "C:\\Films\\chosen.mpg");
    r.click(r.control(save, IDOK));
  });
  std::string chosen;
  robot.duringModal([&](plat::Robot& r) {
    chosen = r.text(GetDlgItem(r.findWindow("#32770", kTitle), kPath));
    r.cancelNextFileDialog();
    clickIn(r, CRecordOptionsDlg::kBrowse);
  });
  std::string kept;
  robot.duringModal([&](plat::Robot& r) {
    kept = r.text(GetDlgItem(r.findWindow("#32770", kTitle), kPath));
    clickIn(r, CRecordOptionsDlg::kCancelButton);
  });
  std::filesystem::create_directories(machine().paths().toLinux("C:\\Films"));
  CRecordOptionsDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(offered, now() + ".mpg");
  EXPECT_EQ(chosen, "C:\\Films\\chosen.mpg");
  EXPECT_EQ(kept, "C:\\Films\\chosen.mpg") << "cancelled";
  const auto dialogs = robot.fileDialogs();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_TRUE(dialogs[0].save);
  EXPECT_EQ(dialogs[0].owner, owner) << "the options dialog waits for it";
  EXPECT_EQ(dialogs[0].flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT), DWORD{OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT});
  using Type = std::pair<std::string, std::string>;
  EXPECT_EQ(dialogs[0].types, (std::vector<Type>{{"mpg Files (*.mpg)", "*.MPG"}, {" All Files (*.*)", "*.*"}}));
  EXPECT_EQ(dialogs[1].answer, IDCANCEL);
}

// Entries without a readable name get no row, and the row chosen binds its own entry: a
// nameless one before it does not shift the choice onto another.
TEST_F(RecordOptionsDialogTest, TheChosenRowBindsItsOwnCompressorWhateverNamelessEntriesLieBefore) {
  plat::RegisteredFilter nameless;
  nameless.clsid = {0x00000001, 0x1D3A, 0x4E8F, {0xA1, 0x52, 0x63, 0x74, 0x85, 0x96, 0xA7, 0x01}};
  plat::RegisteredFilter named;
  named.clsid = CLSID_AlawCompressor;
  named.name = L"Orvane Test Codec";
  ASSERT_EQ(plat::FilterRegistration::registerFilter(nameless, CLSID_VideoCompressorCategory), S_OK);
  ASSERT_EQ(plat::FilterRegistration::registerFilter(named, CLSID_VideoCompressorCategory), S_OK);
  EXPECT_EQ(run({[&](plat::Robot&, HWND d) {
                   EXPECT_EQ(rows(d, kVideoList), (std::vector<std::string>{"Motion JPEG Compressor", "Orvane Test Codec"}));
                   SendDlgItemMessageA(d, kVideoList, CB_SETCURSEL, 1, 0);
                 },
                 typing("D:\\film.avi")}),
            IDOK);
  EXPECT_EQ(classOf(g_pSaveOption->video_compressor), CLSID_AlawCompressor);
}

}  // namespace
}  // namespace test
