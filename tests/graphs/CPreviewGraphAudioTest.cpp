// The preview's sound: the stick's own sound pin or the sound card's input, chosen by
// the Windows version, connected to the audio renderer, and the capture line selected.
#include "CPreviewGraphTest.h"

#include "core/data/CAppSettings.h"
#include "graphs/CAudioRendererFilter.h"
#include "graphs/CDeviceFilter.h"
#include "graphs/CVideoDeviceFilter.h"

#include <vendor/language/Language.h>

#include <algorithm>

namespace test {
namespace {

class CPreviewGraphAudioTest : public PreviewGraphTest {};

// Vista by version and by product name: the sound card is opened as the first device of
// its name (elsewhere the match flag asks for a second one).
class CPreviewGraphVistaSoundTest : public PreviewGraphTest {
 protected:
  void configureMachine() override {
    plat::IniDocument& ini = machine().ini();
    ini.setValue("Windows", "MajorVersion", "6");
    ini.setValue("Windows", "MinorVersion", "0");
    ini.setValue("Windows", "ProductName", "Windows Vista (TM) Home Premium");
  }
};

class CPreviewGraphStickSoundTest : public PreviewGraphTest {
 protected:
  void configureMachine() override { machine().ini().setValue("TVStick", "AudioOut", "1"); }
};

TEST_F(CPreviewGraphStickSoundTest, TheSticksSoundPinPlaysThroughTheAudioRenderer) {
  ASSERT_TRUE(build(0));
  EXPECT_STREQ(g_pAppSettings->AudioDeviceName, "") << "no sound card input is needed";
  EXPECT_EQ(graph->m_pAudioDevice, nullptr);
  ASSERT_NE(graph->m_pAudioRenderer, nullptr);
  IPin* audioOut = graph->m_pVideoDevice->GetAudioPin();
  ASSERT_NE(audioOut, nullptr);
  EXPECT_TRUE(PinConnected(audioOut));
  EXPECT_TRUE(PinConnected(graph->m_pAudioRenderer->FindPin(TRUE, nullptr)));
  // Connected already, asked again, or without the check.
  EXPECT_TRUE(graph->ConnectAudio(FALSE));
  EXPECT_TRUE(graph->ConnectAudio(TRUE));
}

TEST_F(CPreviewGraphVistaSoundTest, TheSoundCardsInputPlaysThroughTheAudioRenderer) {
  ASSERT_TRUE(build(0));
  ASSERT_NE(graph->m_pAudioDevice, nullptr);
  ASSERT_NE(graph->m_pAudioRenderer, nullptr);
  EXPECT_TRUE(PinConnected(graph->m_pAudioDevice->FindPin(FALSE, nullptr)));
  EXPECT_TRUE(PinConnected(graph->m_pAudioRenderer->FindPin(TRUE, nullptr)));
  // Every output connected: nothing left to do. Without the check the connected pin is
  // tried again and refused.
  EXPECT_TRUE(graph->ConnectAudio(FALSE));
  EXPECT_FALSE(graph->ConnectAudio(TRUE));
}

TEST_F(CPreviewGraphVistaSoundTest, ASoundCardNotFoundFallsBackToTheListedOne) {
  std::strcpy(g_pAppSettings->AudioDeviceName, "No Such Card");
  ASSERT_TRUE(build(0));
  ASSERT_NE(graph->m_pAudioDevice, nullptr);
  EXPECT_STREQ(g_pAppSettings->AudioDeviceName, "Audio Volume Control");
}

TEST_F(CPreviewGraphAudioTest, OnOtherWindowsVersionsThereIsNoSoundPath) {
  setWindows(1, 4, 10);
  ASSERT_TRUE(build(0));
  EXPECT_EQ(graph->m_pAudioDevice, nullptr);
  EXPECT_EQ(graph->m_pAudioRenderer, nullptr);
  EXPECT_FALSE(graph->ConnectAudio(FALSE));
  EXPECT_FALSE(graph->PrepareDevice());
}

TEST_F(CPreviewGraphVistaSoundTest, TheCaptureLineIsSelectedByName) {
  ASSERT_TRUE(build(0));
  g_pAppSettings->CaptureAudioLineNames.RemoveAll();
  EXPECT_TRUE(graph->SelectAudioLine());
  EXPECT_GT(g_pAppSettings->CaptureAudioLineNames.GetSize(), 0);
  EXPECT_STREQ(g_pAppSettings->CaptureAudioLine, "Line In");
  EXPECT_TRUE(messageBoxTexts().empty());
}

TEST_F(CPreviewGraphAudioTest, NoListedSoundCardIsToldAndRefused) {
  makeGraph();
  g_pAppSettings->AudioDeviceNames.RemoveAll();
  EXPECT_FALSE(graph->SelectAudioLine());
  EXPECT_EQ(messageBoxTexts(), std::vector<std::string>{GetMessageInfo(15)});
}

}  // namespace
}  // namespace test
