#include "GraphTest.h"

#include <support/Settling.h>
#include "MediaFileWriter.h"

#include <machine/AudioPlayback.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

using dstest::MediaFileWriter;
using plat::ComPtr;

namespace {

// An MPEG-1 system stream of `seconds` of noise and silence, muxed as a recorder whose
// encoder runs far over its nominal bit rate does it: the muxer's pace falls behind the
// pictures, so the sound lands seconds ahead of them in the file. False when FFmpeg
// could not write it.
bool writeSoundAheadRecording(const std::filesystem::path& file, int seconds) {
  AVFormatContext* format = nullptr;
  if (avformat_alloc_output_context2(&format, nullptr, "mpeg", file.c_str()) < 0) return false;
  const AVCodec* videoCodec = avcodec_find_encoder(AV_CODEC_ID_MPEG1VIDEO);
  const AVCodec* audioCodec = avcodec_find_encoder(AV_CODEC_ID_MP2);
  AVCodecContext* video = videoCodec ? avcodec_alloc_context3(videoCodec) : nullptr;
  AVCodecContext* audio = audioCodec ? avcodec_alloc_context3(audioCodec) : nullptr;
  AVStream* videoStream = avformat_new_stream(format, nullptr);
  AVStream* audioStream = avformat_new_stream(format, nullptr);
  AVFrame* picture = av_frame_alloc();
  AVFrame* sound = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  bool ok = video && audio && videoStream && audioStream && picture && sound && packet;
  if (ok) {
    video->width = 352;
    video->height = 288;
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    video->time_base = {1, 25};
    video->framerate = {25, 1};
    video->bit_rate = 500'000;  // noise takes many times that
    video->gop_size = 12;
    audio->sample_fmt = AV_SAMPLE_FMT_S16;
    audio->sample_rate = 44100;
    audio->time_base = {1, 44100};
    audio->bit_rate = 224'000;
    av_channel_layout_default(&audio->ch_layout, 2);
    ok = avcodec_open2(video, videoCodec, nullptr) >= 0 && avcodec_open2(audio, audioCodec, nullptr) >= 0 &&
         avcodec_parameters_from_context(videoStream->codecpar, video) >= 0 &&
         avcodec_parameters_from_context(audioStream->codecpar, audio) >= 0;
  }
  if (ok) {
    videoStream->time_base = video->time_base;
    audioStream->time_base = audio->time_base;
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = video->width;
    picture->height = video->height;
    sound->format = AV_SAMPLE_FMT_S16;
    sound->sample_rate = 44100;
    sound->nb_samples = audio->frame_size;
    av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout);
    ok = av_frame_get_buffer(picture, 0) >= 0 && av_frame_get_buffer(sound, 0) >= 0 &&
         avio_open(&format->pb, file.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(format, nullptr) >= 0;
  }
  auto encode = [&](AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
    avcodec_send_frame(codec, frame);
    while (avcodec_receive_packet(codec, packet) == 0) {
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      av_interleaved_write_frame(format, packet);
    }
  };
  std::int64_t samples = 0;
  for (int n = 0; ok && n < 25 * seconds;) {
    if (n / 25.0 <= static_cast<double>(samples) / 44100) {
      ok = av_frame_make_writable(picture) >= 0;
      for (int y = 0; ok && y < video->height; ++y)
        for (int x = 0; x < video->width; ++x) {
          const unsigned seed = static_cast<unsigned>((x + n) * 2654435761u) ^ static_cast<unsigned>(y * 40503u);
          picture->data[0][y * picture->linesize[0] + x] = static_cast<uint8_t>(16 + (seed >> 8) % 220);
        }
      for (int plane = 1; ok && plane < 3; ++plane)
        for (int y = 0; y < video->height / 2; ++y)
          std::memset(picture->data[plane] + y * picture->linesize[plane], 128, video->width / 2);
      picture->pts = n++;
      if (ok) encode(video, videoStream, picture);
    } else {
      ok = av_frame_make_writable(sound) >= 0;
      if (ok) std::memset(sound->data[0], 0, static_cast<size_t>(sound->nb_samples) * 4);
      sound->pts = samples;
      samples += sound->nb_samples;
      if (ok) encode(audio, audioStream, sound);
    }
  }
  if (ok) {
    encode(video, videoStream, nullptr);
    encode(audio, audioStream, nullptr);
    ok = av_write_trailer(format) >= 0;
  }
  av_packet_free(&packet);
  av_frame_free(&picture);
  av_frame_free(&sound);
  avcodec_free_context(&video);
  avcodec_free_context(&audio);
  if (format->pb) avio_closep(&format->pb);
  avformat_free_context(format);
  return ok;
}

class FilePlaybackTest : public dstest::GraphTest {
 protected:
  // Writes the media on drive C and returns its Windows path.
  std::wstring media(MediaFileWriter::Kind kind, const std::string& name, double seconds = 1.0) {
    EXPECT_TRUE(MediaFileWriter::write(machine().paths().driveFolder('C') / name, kind, seconds));
    return L"C:\\" + std::wstring(name.begin(), name.end());
  }
  std::wstring bytes(const std::string& name, const std::string& content) {
    std::ofstream(machine().paths().driveFolder('C') / name, std::ios::binary) << content;
    return L"C:\\" + std::wstring(name.begin(), name.end());
  }
  // A file source and the MPEG-2 splitter, in the graph and not yet connected.
  void addSourceAndSplitter(ComPtr<IBaseFilter>& source, ComPtr<IBaseFilter>& splitter) {
    ASSERT_EQ(CoCreateInstance(CLSID_AsyncReader, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, source.putVoid()),
              S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_MPEG2Splitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, splitter.putVoid()),
              S_OK);
    ASSERT_EQ(graph->AddFilter(source.get(), L"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(splitter.get(), L"Splitter"), S_OK);
  }
  bool has(const std::wstring& name) {
    const auto all = names();
    return std::find(all.begin(), all.end(), name) != all.end();
  }
  // Runs with the clock far ahead, so every sample is due at once, until EC_COMPLETE.
  bool runToCompletion() {
    ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
    if (control->Run() != S_OK && control->Run() != S_FALSE) return false;
    return test::advanceUntil(machine().clock(), [&] { return completed(); }, 500, 60'000);
  }
  // The centre pixel of the video renderer's current picture, as 0x00RRGGBB.
  DWORD centrePixel() {
    ComPtr<IBasicVideo> video = graphAs<IBasicVideo>(IID_IBasicVideo);
    long size = 0;
    if (video->GetCurrentImage(&size, nullptr) != S_OK) return 0xFFFFFFFF;
    std::vector<long> image(static_cast<size_t>(size + 3) / 4);
    video->GetCurrentImage(&size, image.data());
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    const auto* pixels = reinterpret_cast<const BYTE*>(header + 1);
    const int bytesPerPixel = header->biBitCount / 8;
    const int stride = (header->biWidth * bytesPerPixel + 3) / 4 * 4;
    const BYTE* at = pixels + std::abs(header->biHeight) / 2 * stride + header->biWidth / 2 * bytesPerPixel;
    return static_cast<DWORD>(at[2]) << 16 | at[1] << 8 | at[0];
  }
  static bool reddish(DWORD rgb) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return r > 200 && g < 60 && b < 60;
  }
  // The stop position at 0.5 s, so the last buffer played is still the tone.
  void stopAtHalfASecond() {
    LONGLONG stop = 5'000'000;
    ASSERT_EQ(graphAs<IMediaSeeking>(IID_IMediaSeeking)->SetPositions(nullptr, AM_SEEKING_NoPositioning, &stop,
                                                                      AM_SEEKING_AbsolutePositioning),
              S_OK);
  }
  plat::AudioPlayback::Levels sound() { return machine().service<plat::AudioPlayback>().levels(); }
};

TEST_F(FilePlaybackTest, AnMpegProgramStreamPlaysItsPictureAndToneToTheEnd) {
  const std::wstring file = media(MediaFileWriter::Kind::MpegProgram, "clip.mpg");
  ASSERT_EQ(graph->RenderFile(file.c_str(), nullptr), S_OK);
  EXPECT_TRUE(has(L"MPEG-2 Demultiplexer"));
  EXPECT_TRUE(has(L"MPEG Video Decoder"));
  EXPECT_TRUE(has(L"MPEG Audio Decoder"));
  ASSERT_TRUE(runToCompletion());
  EXPECT_TRUE(reddish(centrePixel())) << std::hex << centrePixel();
  EXPECT_GT(sound().frames, 40000u);
  EXPECT_NEAR(sound().toneHz, 440.0, 20.0);
  graphAs<IMediaControl>(IID_IMediaControl)->Stop();
}

TEST_F(FilePlaybackTest, AviWaveAndMp3FilesRenderToThePlatformsRenderers) {
  const std::wstring avi = media(MediaFileWriter::Kind::Avi, "clip.avi");
  ASSERT_EQ(graph->RenderFile(avi.c_str(), nullptr), S_OK);
  EXPECT_TRUE(has(L"AVI Splitter"));
  EXPECT_TRUE(has(L"Default DirectSound Device"));
  stopAtHalfASecond();
  ASSERT_TRUE(runToCompletion());
  EXPECT_TRUE(reddish(centrePixel())) << std::hex << centrePixel();
  EXPECT_NEAR(sound().toneHz, 440.0, 20.0);
  graphAs<IMediaControl>(IID_IMediaControl)->Stop();

  for (const auto& [kind, name, parser] :
       {std::tuple{MediaFileWriter::Kind::Wave, "tone.wav", L"Wave Parser"},
        std::tuple{MediaFileWriter::Kind::Mp3, "tone.mp3", L"MPEG-2 Splitter"}}) {
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
    const auto before = sound().frames;
    const std::wstring file = media(kind, name);
    ASSERT_EQ(graph->RenderFile(file.c_str(), nullptr), S_OK) << name;
    EXPECT_TRUE(has(parser)) << name;
    stopAtHalfASecond();
    ASSERT_TRUE(runToCompletion()) << name;
    // Half a second of the tone, to the stop position (in whole packets).
    EXPECT_GT(sound().frames - before, 20000u) << name;
    EXPECT_LT(sound().frames - before, 26000u) << name;
    EXPECT_NEAR(sound().toneHz, 440.0, 20.0) << name;
    graphAs<IMediaControl>(IID_IMediaControl)->Stop();
  }
}

TEST_F(FilePlaybackTest, TheDurationIsTheFilesAndASeekPlaysOnFromThere) {
  const std::wstring file = media(MediaFileWriter::Kind::MpegProgram, "long.mpg", 2.0);
  ASSERT_EQ(graph->RenderFile(file.c_str(), nullptr), S_OK);
  ComPtr<IMediaSeeking> seeking = graphAs<IMediaSeeking>(IID_IMediaSeeking);
  LONGLONG duration = 0;
  ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
  EXPECT_NEAR(static_cast<double>(duration), 2e7, 1.5e6);
  LONGLONG position = 15'000'000;
  ASSERT_EQ(seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame, nullptr,
                                  AM_SEEKING_NoPositioning),
            S_OK);
  const auto before = sound().frames;
  ASSERT_TRUE(runToCompletion());
  // Half a second of sound is left after the seek, not two.
  EXPECT_LT(sound().frames - before, 26000u);
  EXPECT_GT(sound().frames - before, 20000u);
  double rate = 0;
  ASSERT_EQ(seeking->SetRate(1.0), S_OK);
  ASSERT_EQ(seeking->GetRate(&rate), S_OK);
  EXPECT_EQ(rate, 1.0);
  graphAs<IMediaControl>(IID_IMediaControl)->Stop();
}

TEST_F(FilePlaybackTest, ASeekWhileRunningFlushesTheStreamsAndPlaysOnToTheEnd) {
  const std::wstring file = media(MediaFileWriter::Kind::MpegProgram, "long.mpg", 2.0);
  ASSERT_EQ(graph->RenderFile(file.c_str(), nullptr), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ComPtr<IMediaSeeking> seeking = graphAs<IMediaSeeking>(IID_IMediaSeeking);
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return sound().frames > 0; }));
  machine().clock().advance(200);
  // The renderers hold samples due later; the seek must free them and start over.
  LONGLONG position = 15'000'000;
  ASSERT_EQ(seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning), S_OK);
  OAFilterState state = 0;
  ASSERT_EQ(control->GetState(0, &state), S_OK);
  EXPECT_EQ(state, State_Running);
  const auto before = sound().frames;
  ASSERT_TRUE(runToCompletion());
  EXPECT_LT(sound().frames - before, 30000u);
  LONGLONG current = 0, duration = 0;
  seeking->GetCurrentPosition(&current);
  seeking->GetDuration(&duration);
  EXPECT_EQ(current, duration);
  EXPECT_TRUE(reddish(centrePixel()));
  control->Stop();
}

// The key frame the splitter starts again from may carry no time of its own: a decoder
// must not stamp its picture with the time that followed the last picture before the
// seek, which the renderer would wait for on the new segment's clock.
TEST_F(FilePlaybackTest, ASeekToTheEndWhileRunningEndsTheFileAtOnce) {
  const std::wstring file = media(MediaFileWriter::Kind::MpegProgram, "long.mpg", 12.0);
  ASSERT_EQ(graph->RenderFile(file.c_str(), nullptr), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ComPtr<IMediaSeeking> seeking = graphAs<IMediaSeeking>(IID_IMediaSeeking);
  const auto complete = [&] { return completed(); };
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_FALSE(test::advanceUntil(machine().clock(), complete, 40, 5000)) << "five seconds played";
  LONGLONG end = 0;
  ASSERT_EQ(seeking->GetDuration(&end), S_OK);
  ASSERT_EQ(seeking->SetPositions(&end, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame, nullptr,
                                  AM_SEEKING_NoPositioning),
            S_OK);
  EXPECT_TRUE(test::advanceUntil(machine().clock(), complete, 40, 500));
  control->Stop();
}

TEST_F(FilePlaybackTest, PausedTheFirstPictureIsShownAndTheStreamWaits) {
  const std::wstring file = media(MediaFileWriter::Kind::MpegProgram, "clip.mpg");
  ASSERT_EQ(graph->RenderFile(file.c_str(), nullptr), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  control->Pause();
  OAFilterState state = 0;
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return control->GetState(0, &state) == S_OK; }));
  EXPECT_EQ(state, State_Paused);
  EXPECT_TRUE(reddish(centrePixel()));
  long code = 0;
  EXPECT_EQ(graphAs<IMediaEventEx>(IID_IMediaEventEx)->WaitForCompletion(0, &code), E_ABORT);
  ASSERT_TRUE(runToCompletion());
  control->Stop();
}

TEST_F(FilePlaybackTest, PausedAndSeekingInARecordingWithItsSoundFarAheadThePictureStillComes) {
  // The audio renderer holds its first buffer while paused; the sound's buffers run out
  // long before the pictures of its time are read.
  ASSERT_TRUE(writeSoundAheadRecording(machine().paths().driveFolder('C') / "ahead.mpg", 20));
  ASSERT_EQ(graph->RenderFile(L"C:\\ahead.mpg", nullptr), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  control->Pause();
  OAFilterState state = 0;
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(),
      [&] { return control->GetState(0, &state) == S_OK; })) << "the first picture came";
  for (const LONGLONG position : {160'000'000LL, 40'000'000LL, 120'000'000LL}) {
    LONGLONG at = position;
    ASSERT_EQ(graphAs<IMediaSeeking>(IID_IMediaSeeking)
                  ->SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    EXPECT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return control->GetState(0, &state) == S_OK; }))
        << "the picture at " << position / 10'000'000 << " s came";
  }
  control->Stop();
}

TEST_F(FilePlaybackTest, PausedWithItsPicturesHeldTheSplitterReadsOnForTheSound) {
  // A paused renderer holds its stream, and the other stream's renderer may not have
  // shown anything yet although packets went to it (its decoder can want more): the
  // splitter must not wait for the held stream's buffers while paused.
  const std::wstring path = media(MediaFileWriter::Kind::MpegProgram, "clip.mpg", 6.0);
  ComPtr<IBaseFilter> source, splitter;
  ASSERT_NO_FATAL_FAILURE(addSourceAndSplitter(source, splitter));
  auto* pictures = add(new dstest::SinkFilter(), L"Pictures");
  auto* sound = add(new dstest::SinkFilter(), L"Sound");
  ComPtr<IFileSourceFilter> loader;
  ASSERT_EQ(source->QueryInterface(IID_IFileSourceFilter, loader.putVoid()), S_OK);
  ASSERT_EQ(loader->Load(path.c_str(), nullptr), S_OK);
  ComPtr<IPin> input, video, audio;
  ASSERT_EQ(splitter->FindPin(L"Input", input.put()), S_OK);
  ASSERT_EQ(graph->ConnectDirect(dstest::firstPin(source.get(), PINDIR_OUTPUT), input.get(), nullptr), S_OK);
  ASSERT_EQ(splitter->FindPin(L"Video", video.put()), S_OK);
  ASSERT_EQ(splitter->FindPin(L"Audio", audio.put()), S_OK);
  ASSERT_EQ(graph->ConnectDirect(video.get(), pictures->input(), nullptr), S_OK);
  ASSERT_EQ(graph->ConnectDirect(audio.get(), sound->input(), nullptr), S_OK);

  pictures->setBlocking(true);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  control->Pause();
  ASSERT_TRUE(pictures->waitUntilBlocked());
  // Waiting on the pictures' buffers stopped the sound at a little past a second. Paused at
  // the end of the file, the splitter sends the sound as its buffers come back, the clock
  // standing still.
  EXPECT_TRUE(test::holdsWhenSettled(machine().clock(), [&] {
    const auto heard = sound->samples();
    return !heard.empty() && heard.back().start >= 30'000'000;
  })) << "the sound goes on to the second half of the file";
  pictures->setBlocking(false);
  control->Stop();
  dstest::disconnectAll({source.get(), splitter.get(), pictures, sound});
}

TEST_F(FilePlaybackTest, ASplitterAlreadyInTheGraphIsUsedBeforeTheCatalogues) {
  ComPtr<IBaseFilter> splitter;
  ASSERT_EQ(CoCreateInstance(CLSID_MPEG2Splitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, splitter.putVoid()),
            S_OK);
  ASSERT_EQ(graph->AddFilter(splitter.get(), L"MPEG-2 Splitter"), S_OK);
  const std::wstring file = media(MediaFileWriter::Kind::MpegProgram, "clip.mpg");
  ASSERT_EQ(graph->RenderFile(file.c_str(), nullptr), S_OK);
  EXPECT_FALSE(has(L"MPEG-2 Demultiplexer"));
  ComPtr<IPin> video;
  ASSERT_EQ(splitter->FindPin(L"Video", video.put()), S_OK);
  ComPtr<IPin> decoder;
  EXPECT_EQ(video->ConnectedTo(decoder.put()), S_OK);
}

TEST_F(FilePlaybackTest, TheSplittersVideoPinAcceptsAnyVideoAndTheAudioPinDoesNot) {
  const std::wstring file = media(MediaFileWriter::Kind::MpegProgram, "clip.mpg");
  ComPtr<IBaseFilter> source, splitter;
  ASSERT_NO_FATAL_FAILURE(addSourceAndSplitter(source, splitter));
  ComPtr<IFileSourceFilter> loader;
  ASSERT_EQ(source->QueryInterface(IID_IFileSourceFilter, loader.putVoid()), S_OK);
  AM_MEDIA_TYPE stream{};
  stream.majortype = MEDIATYPE_Stream;
  ASSERT_EQ(loader->Load(file.c_str(), &stream), S_OK);
  ComPtr<IPin> out, in;
  ASSERT_EQ(source->FindPin(L"Output", out.put()), S_OK);
  ASSERT_EQ(splitter->FindPin(L"Input", in.put()), S_OK);
  ASSERT_EQ(graph->ConnectDirect(out.get(), in.get(), nullptr), S_OK);

  AM_MEDIA_TYPE anyVideo{};
  anyVideo.majortype = MEDIATYPE_Video;
  ComPtr<IPin> video, audio;
  ASSERT_EQ(splitter->FindPin(L"Video", video.put()), S_OK);
  ASSERT_EQ(splitter->FindPin(L"Audio", audio.put()), S_OK);
  EXPECT_EQ(video->QueryAccept(&anyVideo), S_OK);
  EXPECT_NE(audio->QueryAccept(&anyVideo), S_OK);
  // Disconnecting the file takes the stream pins away again.
  ASSERT_EQ(graph->Disconnect(out.get()), S_OK);
  ASSERT_EQ(graph->Disconnect(in.get()), S_OK);
  EXPECT_NE(splitter->FindPin(L"Video", video.put()), S_OK);
}

TEST_F(FilePlaybackTest, EmptyTruncatedAndForeignFilesAreRefusedWithAnError) {
  const std::wstring good = media(MediaFileWriter::Kind::MpegProgram, "good.mpg");
  std::ifstream in(machine().paths().driveFolder('C') / "good.mpg", std::ios::binary);
  std::string head(64, '\0');
  in.read(head.data(), 64);
  for (const std::wstring& file :
       {bytes("empty.mpg", ""), bytes("cut.mpg", head), bytes("letter.mpg", "Dear viewer, this is no film."),
        bytes("cut.avi", "RIFF\x10\0\0\0AVI LIST")}) {
    const HRESULT hr = graph->RenderFile(file.c_str(), nullptr);
    EXPECT_TRUE(FAILED(hr)) << std::string(file.begin(), file.end());
    EXPECT_TRUE(names().empty()) << std::string(file.begin(), file.end());
  }
  EXPECT_EQ(graph->RenderFile(L"C:\\missing.mpg", nullptr), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
}

TEST_F(FilePlaybackTest, AFileCutShortMidwayPlaysWhatItHasAndEnds) {
  media(MediaFileWriter::Kind::MpegProgram, "whole.mpg");
  std::ifstream in(machine().paths().driveFolder('C') / "whole.mpg", std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::wstring half = bytes("half.mpg", whole.substr(0, whole.size() / 2 + 1001));
  ASSERT_EQ(graph->RenderFile(half.c_str(), nullptr), S_OK);
  ASSERT_TRUE(runToCompletion());
  EXPECT_TRUE(reddish(centrePixel()));
  graphAs<IMediaControl>(IID_IMediaControl)->Stop();
}

TEST_F(FilePlaybackTest, TheFileSourceReadsTheFileThroughItsPin) {
  const std::wstring file = bytes("data.bin", "0123456789");
  ComPtr<IBaseFilter> source;
  ASSERT_EQ(CoCreateInstance(CLSID_AsyncReader, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, source.putVoid()), S_OK);
  ComPtr<IFileSourceFilter> loader;
  ASSERT_EQ(source->QueryInterface(IID_IFileSourceFilter, loader.putVoid()), S_OK);
  EXPECT_EQ(loader->Load(L"C:\\nothing.bin", nullptr), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  ASSERT_EQ(loader->Load(file.c_str(), nullptr), S_OK);
  LPOLESTR name = nullptr;
  AM_MEDIA_TYPE type{};
  ASSERT_EQ(loader->GetCurFile(&name, &type), S_OK);
  EXPECT_EQ(std::wstring(name), file);
  EXPECT_EQ(type.majortype, MEDIATYPE_Stream);
  EXPECT_EQ(type.subtype, GUID_NULL);  // bytes of no known kind
  CoTaskMemFree(name);
  FreeMediaType(type);

  ComPtr<IPin> pin;
  ASSERT_EQ(source->FindPin(L"Output", pin.put()), S_OK);
  ComPtr<IAsyncReader> reader;
  ASSERT_EQ(pin->QueryInterface(IID_IAsyncReader, reader.putVoid()), S_OK);
  LONGLONG total = 0, available = 0;
  ASSERT_EQ(reader->Length(&total, &available), S_OK);
  EXPECT_EQ(total, 10);
  char text[8] = {};
  EXPECT_EQ(reader->SyncRead(3, 4, reinterpret_cast<BYTE*>(text)), S_OK);
  EXPECT_STREQ(text, "3456");
  EXPECT_EQ(reader->SyncRead(8, 4, reinterpret_cast<BYTE*>(text)), S_FALSE);  // cut short by the end

  // Requests complete in order through WaitForNext.
  ALLOCATOR_PROPERTIES wanted{2, 16, 1, 0};
  ComPtr<IMemAllocator> allocator;
  ASSERT_EQ(reader->RequestAllocator(nullptr, &wanted, allocator.put()), S_OK);
  ASSERT_EQ(allocator->Commit(), S_OK);
  IMediaSample* sample = nullptr;
  ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  REFERENCE_TIME from = 5 * 10'000'000LL, to = 9 * 10'000'000LL;
  sample->SetTime(&from, &to);
  ASSERT_EQ(reader->Request(sample, 42), S_OK);
  sample->Release();
  IMediaSample* done = nullptr;
  DWORD_PTR user = 0;
  ASSERT_EQ(reader->WaitForNext(0, &done, &user), S_OK);
  EXPECT_EQ(user, 42u);
  BYTE* data = nullptr;
  done->GetPointer(&data);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), static_cast<size_t>(done->GetActualDataLength())), "5678");
  done->Release();
  EXPECT_EQ(reader->WaitForNext(0, &done, &user), VFW_E_TIMEOUT);
  allocator->Decommit();
}

}  // namespace
