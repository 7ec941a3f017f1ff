// A save made on one thread while another saves, stops, previews, seeks, edits, asks for
// progress or closes the project, as the save starts, in its middle and as it ends: the
// save under way is never disturbed (the others are refused at once, a second save answers
// as the one under way, a closed project goes once its save is over), its progress is told
// from outside it, and a preview running on another thread is stopped for the save and can
// run again after.
#include "ProjectTest.h"

#include "MpegFileProbe.h"

#include <com/objbase.h>
#include <dshow/baseclasses/CTransInPlaceFilter.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

namespace {

using edtest::kSecond;
using edtest::ProjectTest;
using rectest::MpegFileProbe;

// A compressor that passes pictures on unchanged but, at one moment of a save, holds the
// saving thread until it is let go: when it joins the save's graph (the save starting),
// at its first picture at or after a time (in the middle), or when the graph stops (the
// file written, not yet under its name).
class HoldingCompressor : public CTransInPlaceFilter {
 public:
  enum Moment { kJoining, kPicture, kStopping };
  HoldingCompressor(Moment moment, REFERENCE_TIME at, HRESULT* phr)
      : CTransInPlaceFilter("Holding compressor", nullptr, GUID_NULL, phr), m_moment(moment), m_at(at) {}
  HRESULT CheckInputType(const CMediaType*) override { return S_OK; }
  HRESULT Transform(IMediaSample*) override { return S_OK; }
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override {
    if (graph && m_moment == kJoining) hold();
    return CTransInPlaceFilter::JoinFilterGraph(graph, name);
  }
  HRESULT Receive(IMediaSample* sample) override {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    if (m_moment == kPicture && SUCCEEDED(sample->GetTime(&start, &stop)) && start >= m_at) hold();
    return CTransInPlaceFilter::Receive(sample);
  }
  STDMETHODIMP Stop() override {
    if (m_moment == kStopping) hold();
    else release();
    return CTransInPlaceFilter::Stop();
  }
  // Waits (bounded in real time) until the saving thread is held.
  bool waitUntilHolding() {
    std::unique_lock guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::seconds(10), [&] { return m_held; });
  }
  void release() {
    std::lock_guard guard(m_lock);
    m_released = true;
    m_changed.notify_all();
  }

 private:
  void hold() {
    std::unique_lock guard(m_lock);
    m_held = true;
    m_changed.notify_all();
    m_changed.wait(guard, [&] { return m_released; });
  }

  const Moment m_moment;
  const REFERENCE_TIME m_at;
  std::mutex m_lock;
  std::condition_variable m_changed;
  bool m_held = false;
  bool m_released = false;
};

// Let go however a test ends, and the test's references with them.
struct LetGo {
  std::vector<HoldingCompressor*> held;
  ~LetGo() {
    for (HoldingCompressor* one : held) {
      one->release();
      one->Release();
    }
  }
};

class ProjectThreadsTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    writeColourClips();
    // Three seconds of pictures and sound.
    const mpeg_src_s clips[] = {clip(red, 0, 0, 2), clip(blue, 2, 0, 1), clip(red, 0, 0, 2, false),
                                clip(blue, 2, 0, 1, false)};
    for (const mpeg_src_s& src : clips) ASSERT_EQ(project.mpeg_Project_Addsrc(&src), 1);
  }
  // Saves on a thread of its own, as a host's worker would.
  std::future<int> saveElsewhere(const save_option_s& save) {
    return std::async(std::launch::async, [this, &save] {
      CoInitialize(nullptr);
      const int saved = project.mpeg_Project_Save(&save);
      CoUninitialize();
      return saved;
    });
  }
  static bool finishes(std::future<int>& saving) {
    return saving.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
  }
  // A save made elsewhere and held at `moment`: every call made here meanwhile is refused
  // at once or served without touching the save (a second save answers as the one under
  // way), and closing the project here leaves the save to finish its file whole.
  void callsWhileASaveIsHeld(HoldingCompressor::Moment moment, const char* file) {
    HRESULT hr = S_OK;
    auto* pictures = new HoldingCompressor(moment, 0, &hr);
    pictures->AddRef();
    const LetGo letGo{{pictures}};
    save_option_s save = options(5, file);
    save.video_compressor = pictures;
    auto saving = saveElsewhere(save);
    ASSERT_TRUE(pictures->waitUntilHolding());

    const save_option_s other = options(0, "C:\\other.mpg");
    EXPECT_EQ(project.mpeg_Project_Save(&other), 1) << "answered as the save under way";
    const mpeg_src_s more = clip(blue, 3, 0, 1);
    EXPECT_EQ(project.mpeg_Project_Addsrc(&more), 0);
    EXPECT_EQ(project.mpeg_Project_Deletesrc(0), 0);
    EXPECT_EQ(project.mpeg_Project_Moveto(0, 1), 0);
    EXPECT_EQ(project.mpeg_Project_Preview(host), 0);
    EXPECT_EQ(project.mpeg_Project_Stop(), 0);
    EXPECT_EQ(project.mpeg_Project_MovetoFrame(50), 0);
    EXPECT_EQ(project.mpeg_Project_is_has_source(), 1);
    project.mpeg_Project_SetNotifyWnd(host);
    EXPECT_EQ(project.mpeg_Project_Close(), 1);
    EXPECT_EQ(project.mpeg_Project_is_has_source(), 0) << "closed for its host";
    EXPECT_EQ(project.mpeg_Project_Deletesrc(0), 0);

    pictures->release();
    ASSERT_TRUE(finishes(saving));
    EXPECT_EQ(saving.get(), 1);
    const MpegFileProbe probe(linuxPath(file).string());
    ASSERT_TRUE(probe.ok());
    EXPECT_NEAR(probe.video().seconds, 3.0, 0.1) << "the whole timeline";
    EXPECT_FALSE(std::filesystem::exists(linuxPath("C:\\other.mpg")));
    EXPECT_EQ(project.mpeg_Project_Open(), 1);
    EXPECT_EQ(project.mpeg_Project_is_has_source(), 0) << "a new project";
  }
};

TEST_F(ProjectThreadsTest, ASaveUnderWayIsLeftAloneAndTellsItsProgress) {
  HRESULT hr = S_OK;
  auto* pictures = new HoldingCompressor(HoldingCompressor::kPicture, kSecond, &hr);
  auto* sound = new HoldingCompressor(HoldingCompressor::kPicture, kSecond, &hr);
  pictures->AddRef();
  sound->AddRef();
  save_option_s save = options(5, "C:\\held.avi");
  save.video_compressor = pictures;
  save.audio_compressor = sound;
  double ratio = -1;
  EXPECT_EQ(project.mpeg_Project_get_save_progress(&ratio), 0) << "no save yet";
  auto saving = saveElsewhere(save);
  const LetGo letGo{{pictures, sound}};
  ASSERT_TRUE(pictures->waitUntilHolding());
  ASSERT_TRUE(sound->waitUntilHolding());

  ASSERT_EQ(project.mpeg_Project_get_save_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 1.0 / 3.0, 0.01) << "both streams are held at 1 s of 3";
  const save_option_s other = options(0, "C:\\other.mpg");
  EXPECT_EQ(project.mpeg_Project_Save(&other), 1) << "answered as the save under way";
  EXPECT_EQ(project.mpeg_Project_Stop(), 0);
  EXPECT_EQ(project.mpeg_Project_Preview(host), 0);
  EXPECT_EQ(project.mpeg_Project_Pause(), 0);
  EXPECT_EQ(project.mpeg_Project_MovetoFrame(50), 0);
  EXPECT_EQ(project.mpeg_Project_get_preview_progress(&ratio), 0);
  const mpeg_src_s more = clip(blue, 3, 0, 1);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&more), 0);
  EXPECT_EQ(project.mpeg_Project_Deletesrc(0), 0);
  EXPECT_EQ(project.mpeg_Project_Moveto(0, 1), 0);

  pictures->release();
  sound->release();
  ASSERT_TRUE(finishes(saving));
  EXPECT_EQ(saving.get(), 1);
  EXPECT_EQ(project.mpeg_Project_get_save_progress(&ratio), 0) << "over";
  const MpegFileProbe probe(linuxPath("C:\\held.avi").string());
  ASSERT_TRUE(probe.ok());
  EXPECT_NEAR(probe.video().seconds, 3.0, 0.1);
  EXPECT_FALSE(std::filesystem::exists(linuxPath("C:\\other.mpg")));
  EXPECT_EQ(project.mpeg_Project_Deletesrc(0), 1) << "edits go on after the save";
}

TEST_F(ProjectThreadsTest, AProgressAskedOnEveryStepOfASaveStaysInRange) {
  const save_option_s save = options(0, "C:\\watched.mpg");
  auto saving = saveElsewhere(save);
  double last = 0;
  double ratio = 0;
  while (saving.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    if (project.mpeg_Project_get_save_progress(&ratio) != 1) {
      std::this_thread::yield();
      continue;
    }
    EXPECT_GE(ratio, 0.0);
    EXPECT_LE(ratio, 1.0);
    last = ratio;
  }
  EXPECT_EQ(saving.get(), 1);
  EXPECT_GE(last, 0.0);
}

TEST_F(ProjectThreadsTest, APreviewRunningHereIsStoppedForASaveMadeElsewhere) {
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1);
  play(200);
  const save_option_s save = options(0, "C:\\from-preview.mpg");
  auto saving = saveElsewhere(save);
  ASSERT_TRUE(finishes(saving));
  EXPECT_EQ(saving.get(), 1);
  const MpegFileProbe probe(linuxPath("C:\\from-preview.mpg").string());
  ASSERT_TRUE(probe.ok());
  EXPECT_NEAR(probe.video().seconds, 3.0, 0.1) << "from the start, whatever the preview had shown";
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1) << "the preview runs again";
  play(200);
  double ratio = 0;
  EXPECT_EQ(project.mpeg_Project_get_preview_progress(&ratio), 1);
  EXPECT_EQ(project.mpeg_Project_Stop(), 1);
}

TEST_F(ProjectThreadsTest, CallsAsASaveStartsAreRefusedAndAClosedProjectStillSavesWhole) {
  callsWhileASaveIsHeld(HoldingCompressor::kJoining, "C:\\starting.avi");
}

TEST_F(ProjectThreadsTest, CallsAsASaveEndsAreRefusedAndAClosedProjectStillSavesWhole) {
  callsWhileASaveIsHeld(HoldingCompressor::kStopping, "C:\\ending.avi");
}

}  // namespace
