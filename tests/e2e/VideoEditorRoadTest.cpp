// The editing road in the built program, as a user walks it, driven by a robot script on
// the manual clock: a ten-minute recording is added to the video editor and opened, two
// cuts are marked on the clip's slider (one past the eighth minute) and added to the
// project, the project is previewed and saved as MPEG-2 through the recording options
// dialog. The ffprobe tool reads the saved film back: as long as the two cuts together.
#include "platform/dshow/MediaFileWriter.h"
#include "platform/dshow/NumberedPicture.h"

#include <graphs/DeviceUtilities.h>
#include <support/PictureFiles.h>
#include <support/ProgramRun.h>
#include <support/TestMachine.h>

#include <com/objbase.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Where the editor's controls lie on the 1024 x 768 screen it fills.
constexpr int kSliderLeft = 151;
constexpr int kSliderY = 545;
constexpr int kThumbHalf = 12;
constexpr int kThumbTravel = 336;

// The clip slider's pixel that sets `percent`: the first one whose position it is.
int SliderX(int percent) { return kSliderLeft + kThumbHalf + (percent * kThumbTravel + 99) / 100; }

// What the ffprobe tool says of a file's first stream of a kind: one entry's value.
std::string Probe(const std::string& path, const std::string& entries, const std::string& stream = "v:0") {
  const std::string command = "ffprobe -v error -count_frames -select_streams " + stream + " -show_entries " + entries +
                              " -of default=nokey=1:noprint_wrappers=1 '" + path + "' 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return "";
  char line[256] = {};
  return std::fgets(line, sizeof line, pipe.get()) ? std::string(line, std::strcspn(line, "\r\n")) : "";
}

double Rate(const std::string& fraction) {
  int num = 0, den = 1;
  return std::sscanf(fraction.c_str(), "%d/%d", &num, &den) == 2 && den ? double(num) / den : 0;
}

class VideoEditorRoadTest : public test::MachineTest {
 protected:
  VideoEditorRoadTest() {
    const auto built = test::TestMachine::builtProgramFolder();
    const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::copy(built / "Skin", program() / "Skin", options);
    fs::copy(built / "skins", program() / "skins", options);
    fs::copy(built / "Filter", program() / "Filter", options);
    // The editing libraries the editor loads, installed beside the program.
    for (const char* library : {"Scrubolt.dll", "Cutvalon.dll"}) fs::copy_file(built / library, program() / library);
    // The MPEG encoder registered as the installer registers the Filter folder.
    CoInitialize(nullptr);
    RegisterFilterModule("Filter\\qnmpeg2enc.ax");
    CoUninitialize();
  }
  fs::path program() const { return testMachine.programFolder(); }
  fs::path onC(const std::string& windowsPath) { return machine().paths().toLinux(windowsPath); }

  // Where the runs leave their screenshots.
  static fs::path shots() {
    const fs::path folder = fs::path(ORVANE_TEST_BINARY_DIR) / "e2e-screens";
    fs::create_directories(folder);
    return folder;
  }
  // Runs the program on the robot script `steps` (kept as `name`) and then closes the
  // editor and the program, as a user leaves them; the program ends well.
  void runScript(const std::string& steps, const char* name) {
    const fs::path file = testMachine.root() / name;
    std::ofstream(file) << steps
                        << "key BACKSPACE\n"
                           "wait 500\n"
                           "window \"#32770\" \"Orvane Media\"\n"
                           "close\n";
    const test::ProgramRun run = test::RunProgram(
        testMachine, ORVANE_MEDIA_PROGRAM, {}, file,
        {"ORVANE_PROGRAM_FOLDER=" + program().string(), "ORVANE_SCREENSHOT_DIR=" + shots().string()});
    EXPECT_EQ(run.status, 0) << run.err;
  }
};

TEST_F(VideoEditorRoadTest, TwoCutsOfATenMinuteRecordingAreSavedAsMpeg2) {
  fs::create_directories(onC("C:\\Recordings"));
  fs::create_directories(onC("C:\\Films"));
  const fs::path recording = onC("C:\\Recordings\\evening.mpg");
  ASSERT_TRUE(dstest::MediaFileWriter::write(recording, dstest::MediaFileWriter::Kind::MpegProgram, 600));
  const double length = std::stod(Probe(recording.string(), "format=duration", "v:0"));
  ASSERT_NEAR(length, 600, 1);

  std::ostringstream script;
  script << "clock manual 2024-03-01 20:00:00\n"
            "window \"#32770\" \"Orvane Media\"\n"
            "key CTRL+E\n"
            "wait 500\n"
            "window \"#32770\" \"Orvane Media\"\n"
            "file-answer \"C:\\\\Recordings\\\\evening.mpg\"\n"
            "clickat 207 120\n"    // Add clip
            "wait 500\n"
            "doubleclickat 155 655\n"  // the recording in the clip list: it opens and plays
            "wait 1000\n"

            // The first cut: from 10 % to 15 % of the recording (1:00 to 1:30).
            "clickat " << SliderX(10) << " " << kSliderY << "\n"
            "clickat 294 580\n"    // Start
            "clickat " << SliderX(15) << " " << kSliderY << "\n"
            "clickat 392 580\n"    // End
            "clickat 490 580\n"    // Cut
            // The second, past the eighth minute: from 82 % to 87 % (8:12 to 8:42).
            "clickat " << SliderX(82) << " " << kSliderY << "\n"
            "clickat 294 580\n"
            "clickat " << SliderX(87) << " " << kSliderY << "\n"
            "clickat 392 580\n"
            "clickat 490 580\n"
            "clickat 590 580\n"    // the project plays
            "wait 2000\n"
            "screenshot video_editor_preview\n"
            "clickat 905 120\n"    // Save film
            "window \"#32770\" \"Select parameter\"\n"
            "click 1010\n"         // MPEG2
            "file-answer \"C:\\\\Films\\\\evening cuts.mpg\"\n"
            "click 1006\n"         // Browse
            "expect-text 1012 \"C:\\\\Films\\\\evening cuts.mpg\"\n"
            "screenshot record_options\n"
            "answer OK\n"
            "click 1017\n"
            "expect-messagebox \"The video has been saved.\"\n"
            "window \"#32770\" \"Orvane Media\"\n";
  runScript(script.str(), "editing_road.robot");
  EXPECT_TRUE(fs::exists(shots() / "video_editor_preview.png"));
  EXPECT_TRUE(fs::exists(shots() / "record_options.png"));

  // The film: MPEG-2, as long as the two cuts together, within two pictures.
  const std::string film = onC("C:\\Films\\evening cuts.mpg").string();
  ASSERT_TRUE(fs::exists(film));
  EXPECT_EQ(Probe(film, "stream=codec_name"), "mpeg2video");
  const double rate = Rate(Probe(film, "stream=r_frame_rate"));
  ASSERT_GT(rate, 0);
  const double cuts = length * (15 - 10) / 100 + length * (87 - 82) / 100;
  const int frames = std::stoi(Probe(film, "stream=nb_read_frames"));
  EXPECT_NEAR(frames, cuts * rate, 2) << "the cuts last " << cuts << " s";
}

// The film the editor saves with the recording options as they open (AVI, both
// compressors chosen: Motion JPEG pictures) is added to the clip list and
// opened: the clip pane shows it, the right way up, from the cut's first frame.
TEST_F(VideoEditorRoadTest, AFilmSavedAsAviOpensInTheClipPane) {
  const fs::path recording = onC("C:\\numbered.mpg");
  ASSERT_TRUE(dstest::MediaFileWriter::writeNumbered(recording, dstest::MediaFileWriter::Coding::Mpeg2, 250));
  std::ostringstream script;
  script << "clock manual 2024-03-01 20:00:00\n"
            "window \"#32770\" \"Orvane Media\"\n"
            "key CTRL+E\n"
            "wait 500\n"
            "window \"#32770\" \"Orvane Media\"\n"
            "file-answer \"C:\\\\numbered.mpg\"\n"
            "clickat 207 120\n"    // Add clip
            "wait 500\n"
            "doubleclickat 155 655\n"
            "wait 500\n"
            "clickat " << SliderX(20) << " " << kSliderY << "\n"
            "clickat 294 580\n"    // Start
            "clickat " << SliderX(60) << " " << kSliderY << "\n"
            "clickat 392 580\n"    // End
            "clickat 490 580\n"    // Cut
            "clickat 905 120\n"    // Save film
            "window \"#32770\" \"Select parameter\"\n"
            "file-answer \"C:\\\\film.avi\"\n"
            "click 1006\n"         // Browse; AVI with both compressors, as the dialog opens
            "answer OK\n"
            "click 1017\n"
            "expect-messagebox \"The video has been saved.\"\n"
            "window \"#32770\" \"Orvane Media\"\n"
            "file-answer \"C:\\\\film.avi\"\n"
            "clickat 207 120\n"    // Add clip: the film
            "wait 500\n"
            "doubleclickat 231 655\n"  // it opens and plays
            "clickat 179 580\n"    // Pause at once
            "wait 200\n"
            "screenshot video_editor_film\n";
  runScript(script.str(), "film_road.robot");
  const std::string film = onC("C:\\film.avi").string();
  ASSERT_TRUE(fs::exists(film));
  EXPECT_EQ(Probe(film, "stream=codec_name"), "mjpeg");

  // The clip pane of the screenshot: the film's first frame, the cut's from 20 % of ten
  // seconds (frame 50 or so), standing the right way up.
  const test::TestPicture screen = test::ReadPngFile(shots() / "video_editor_film.png");
  ASSERT_EQ(screen.width, 1024);
  const RECT pane{117, 230, 544, 534};
  const int shown = dstest::NumberedPicture::read([&](double fx, double fy) {
    const std::uint8_t* bgr = screen.at(pane.left + static_cast<int>(fx * (pane.right - pane.left)),
                                        pane.top + static_cast<int>(fy * (pane.bottom - pane.top)));
    return dstest::NumberedPicture::Rgb{bgr[2], bgr[1], bgr[0]};
  });
  EXPECT_NEAR(shown, 50, 3);
}

}  // namespace
