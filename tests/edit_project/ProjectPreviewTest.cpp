// Previewing the timeline in the host's window: the clips shown one after another at
// their times under the machine clock, progress, seeking, the graph-event message at the
// end and the rules that refuse edits while the preview runs.
#include "ProjectTest.h"

#include <machine/VideoSurfaces.h>
#include <com/objbase.h>
#include <robot/Screenshot.h>

#include <string>

namespace {

using edtest::ProjectTest;

class ProjectPreviewTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    writeColourClips();
    const mpeg_src_s clips[] = {clip(red, 0, 0, 1), clip(blue, 1, 0, 1), clip(red, 0, 0, 1, false)};
    for (const mpeg_src_s& src : clips) ASSERT_EQ(project.mpeg_Project_Addsrc(&src), 1);
    project.mpeg_Project_SetNotifyWnd(host);
  }
  // The colour in the middle of the preview window's picture (0x00RRGGBB).
  std::uint32_t shown() {
    for (const auto& surface : machine().service<plat::VideoSurfaces>().ownedBy(host))
      if (surface->framesShown() > 0) return surface->pixel(88, 72);
    return 0;
  }
  static bool reddish(std::uint32_t rgb) { return (rgb >> 16 & 0xFF) > 180 && (rgb & 0xFF) < 100; }
  static bool bluish(std::uint32_t rgb) { return (rgb & 0xFF) > 180 && (rgb >> 16 & 0xFF) < 100; }
};

TEST_F(ProjectPreviewTest, TheClipsPlayOneAfterAnotherToTheEndEvent) {
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1);
  EXPECT_EQ(project.mpeg_Project_Preview(host), 1) << "already running";
  play(400);
  EXPECT_TRUE(reddish(shown())) << std::hex << shown();
  double ratio = 0;
  ASSERT_EQ(project.mpeg_Project_get_preview_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 0.2, 0.05);
  play(1000);
  EXPECT_TRUE(bluish(shown())) << std::hex << shown();
  EXPECT_TRUE(plat::Screenshot::saveScreen("preview-mid-project.png"));
  EXPECT_EQ(project.mpeg_Project_HandleGraphEvent(1), 0) << "events so far, but not the end";
  graphEvents = 0;
  play(1000);
  EXPECT_GT(graphEvents, 0) << "the end is posted to the notify window";
  EXPECT_EQ(project.mpeg_Project_HandleGraphEvent(1), 1);
  EXPECT_EQ(project.mpeg_Project_HandleGraphEvent(1), 0) << "nothing more queued";
  EXPECT_EQ(project.mpeg_Project_Stop(), 1);
  EXPECT_EQ(project.mpeg_Project_get_preview_progress(&ratio), 0) << "stopped";
}

TEST_F(ProjectPreviewTest, SeeksByPercentAndPauses) {
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1);
  EXPECT_EQ(project.mpeg_Project_MovetoFrame(101), 0);
  EXPECT_EQ(project.mpeg_Project_MovetoFrame(-1), 0);
  ASSERT_EQ(project.mpeg_Project_MovetoFrame(75), 1);
  play(200);
  double ratio = 0;
  ASSERT_EQ(project.mpeg_Project_get_preview_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 0.75, 0.03) << "paused there";
  EXPECT_TRUE(bluish(shown())) << std::hex << shown();
  EXPECT_EQ(project.mpeg_Project_MovetoFrame(100), 1);
  EXPECT_EQ(project.mpeg_Project_auto_size_video(), 1);
}

TEST_F(ProjectPreviewTest, SeeksByPercentOnATimelineOfCenturies) {
  // A last clip, pictures and sound, a thousand years on: the duration times 100 passes 64 bits.
  constexpr double kThousandYears = 1000 * 365.25 * 24 * 3600;
  const mpeg_src_s clips[] = {clip(blue, kThousandYears, 0, 1), clip(blue, kThousandYears, 0, 1, false)};
  for (const mpeg_src_s& src : clips) ASSERT_EQ(project.mpeg_Project_Addsrc(&src), 1);
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1);
  ASSERT_EQ(project.mpeg_Project_MovetoFrame(50), 1);
  play(80);
  double ratio = 0;
  ASSERT_EQ(project.mpeg_Project_get_preview_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 0.5, 0.001);
  ASSERT_EQ(project.mpeg_Project_MovetoFrame(100), 1);
  ASSERT_EQ(project.mpeg_Project_get_preview_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 1.0, 0.001);
}

TEST_F(ProjectPreviewTest, EditsWaitForTheStop) {
  const mpeg_src_s later = clip(blue, 2, 1, 1);
  EXPECT_EQ(project.mpeg_Project_Pause(), 0) << "no graph yet";
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&later), 0) << "refused while running";
  EXPECT_EQ(project.mpeg_Project_Pause(), 1);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&later), 0) << "and while paused";
  EXPECT_EQ(project.mpeg_Project_Stop(), 1);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&later), 1);
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1) << "the new clip is in the next preview";
  play(2600);
  EXPECT_TRUE(bluish(shown())) << std::hex << shown();
}

TEST_F(ProjectPreviewTest, OnlyTheRunningGraphIsInTheRunningObjectTable) {
  // The graphs registered, by their item names.
  auto registered = [] {
    int graphs = 0;
    IRunningObjectTable* table = nullptr;
    IEnumMoniker* walk = nullptr;
    if (FAILED(GetRunningObjectTable(0, &table)) || FAILED(table->EnumRunning(&walk))) return -1;
    IMoniker* entry = nullptr;
    while (walk->Next(1, &entry, nullptr) == S_OK) {
      LPOLESTR name = nullptr;
      if (SUCCEEDED(entry->GetDisplayName(nullptr, nullptr, &name)) && std::wstring(name).find(L"FilterGraph ") != std::wstring::npos)
        ++graphs;
      CoTaskMemFree(name);
      entry->Release();
    }
    walk->Release();
    table->Release();
    return graphs;
  };
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1);
  EXPECT_EQ(registered(), 1);
  ASSERT_EQ(project.mpeg_Project_Stop(), 1);
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1);
  EXPECT_EQ(registered(), 1) << "the earlier registration went when the graph registered again";
  const save_option_s save = options(0, "C:\\rot.mpg");
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  EXPECT_EQ(registered(), 0) << "a finished save keeps nothing alive";
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1);
  ASSERT_EQ(project.mpeg_Project_Close(), 1);
  EXPECT_EQ(registered(), 0);
}

TEST_F(ProjectPreviewTest, ANewProjectWithoutClipsDoesNotPreview) {
  ASSERT_EQ(project.mpeg_Project_Open(), 1);
  EXPECT_EQ(project.mpeg_Project_Preview(host), 0);
  EXPECT_EQ(project.mpeg_Project_is_has_source(), 0);
}

}  // namespace
