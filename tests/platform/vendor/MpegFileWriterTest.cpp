// The recorder's file writer encodes its pictures on a thread of its own: pictures written
// faster than they encode all reach the file, in their order; a finish straight after the
// last write keeps every one; a writer let go in the middle of a stream stops cleanly.
#include <support/TestMachine.h>

#include <vendor/mpeg_recorder/MpegFileWriter.h>
#include <machine/StreamActivity.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr LONG kWidth = 320;
constexpr LONG kHeight = 240;

// A YUY2 picture of one grey level.
std::vector<BYTE> greyPicture(int luma) {
  std::vector<BYTE> picture(static_cast<size_t>(kWidth) * kHeight * 2);
  for (size_t i = 0; i < picture.size(); i += 2) {
    picture[i] = static_cast<BYTE>(luma);
    picture[i + 1] = 128;
  }
  return picture;
}

// The luma at the middle of every picture of the file, in the order they are shown.
std::vector<int> middleLumas(const std::string& path) {
  std::vector<int> lumas;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return lumas;
  const AVCodec* codec = nullptr;
  const int stream = avformat_find_stream_info(format, nullptr) >= 0
                         ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0)
                         : -1;
  AVCodecContext* decoder = stream >= 0 ? avcodec_alloc_context3(codec) : nullptr;
  if (decoder && avcodec_parameters_to_context(decoder, format->streams[stream]->codecpar) >= 0 &&
      avcodec_open2(decoder, codec, nullptr) >= 0) {
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&] {
      while (avcodec_receive_frame(decoder, frame) == 0)
        lumas.push_back(frame->data[0][(frame->height / 2) * frame->linesize[0] + frame->width / 2]);
    };
    while (av_read_frame(format, packet) >= 0) {
      if (packet->stream_index == stream && avcodec_send_packet(decoder, packet) >= 0) drain();
      av_packet_unref(packet);
    }
    avcodec_send_packet(decoder, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&packet);
  }
  avcodec_free_context(&decoder);
  avformat_close_input(&format);
  return lumas;
}

class MpegFileWriterTest : public test::MachineTest {
 protected:
  std::unique_ptr<plat::MpegFileWriter> create() {
    plat::EncoderSettings settings;  // MPEG-1 at 320 x 240, 25 a second
    HRESULT hr = E_FAIL;
    auto writer = plat::MpegFileWriter::create(file.string(), settings, &picture, nullptr, hr);
    EXPECT_EQ(hr, S_OK);
    return writer;
  }
  // Writes `count` pictures 40 ms apart, each a grey level brighter than the one before.
  void writeRamp(plat::MpegFileWriter& writer, int count) {
    for (int n = 0; n < count; ++n) {
      const auto grey = greyPicture(30 + 6 * n);
      ASSERT_EQ(writer.writePicture(grey.data(), static_cast<LONG>(grey.size()), n * 400000LL), S_OK);
    }
  }

  const std::filesystem::path file = machine().paths().driveFolder('C') / "writer.mpg";
  const plat::MpegFileWriter::Picture picture{kWidth, kHeight, true};
};

TEST_F(MpegFileWriterTest, PicturesWrittenFasterThanTheyEncodeAllReachTheFileInTheirOrder) {
  constexpr int kPictures = 30;  // many times the pictures that may wait for the encoder
  auto writer = create();
  ASSERT_TRUE(writer);
  writeRamp(*writer, kPictures);
  EXPECT_EQ(writer->picturesEncoded(), kPictures);
  ASSERT_EQ(writer->finish(), S_OK);
  const std::vector<int> lumas = middleLumas(file.string());
  ASSERT_EQ(lumas.size(), static_cast<size_t>(kPictures));
  for (int n = 0; n < kPictures; ++n) EXPECT_NEAR(lumas[static_cast<size_t>(n)], 30 + 6 * n, 3) << "picture " << n;
}

TEST_F(MpegFileWriterTest, AfterTheFinishWritesFailAndAFrameNumberWrittenAlreadyIsDropped) {
  auto writer = create();
  ASSERT_TRUE(writer);
  const auto grey = greyPicture(100);
  ASSERT_EQ(writer->writePicture(grey.data(), static_cast<LONG>(grey.size()), 0), S_OK);
  // 10 ms later is still frame 0 at 25 a second.
  EXPECT_EQ(writer->writePicture(grey.data(), static_cast<LONG>(grey.size()), 100000), S_OK);
  EXPECT_EQ(writer->picturesEncoded(), 1);
  ASSERT_EQ(writer->finish(), S_OK);
  EXPECT_EQ(writer->writePicture(grey.data(), static_cast<LONG>(grey.size()), 400000), E_UNEXPECTED);
  EXPECT_EQ(middleLumas(file.string()).size(), 1u);
}

// Read while it is written, right after a settle, the file holds every picture given but
// those the stream itself still holds back (B-pictures waiting for the next reference
// picture, the muxer's unfinished pack): never more than three, and the same on every run.
TEST_F(MpegFileWriterTest, AfterASettleTheFileHoldsThePicturesGivenTheSameOnEveryRun) {
  constexpr int kPictures = 14;
  plat::EncoderSettings settings;  // DVD-PAL pictures, 720 x 576, that take a while to encode
  settings.streamType = 8;
  settings.videoBitRate = 6000000;
  std::vector<std::vector<std::uintmax_t>> sizes;
  for (int run = 0; run < 3; ++run) {
    std::filesystem::remove(file);
    HRESULT hr = E_FAIL;
    auto writer = plat::MpegFileWriter::create(file.string(), settings, &picture, nullptr, hr);
    ASSERT_TRUE(writer);
    std::vector<std::uintmax_t>& seen = sizes.emplace_back();
    for (int n = 0; n < kPictures; ++n) {
      auto ramp = greyPicture(0);
      for (std::size_t i = 0; i < ramp.size(); i += 2) ramp[i] = static_cast<BYTE>((i / 2 % kWidth + 7 * n) & 0xFF);
      ASSERT_EQ(writer->writePicture(ramp.data(), static_cast<LONG>(ramp.size()), n * 400000LL), S_OK);
      ASSERT_TRUE(plat::StreamActivity::instance().settle(machine().clock()));
      const auto copy = file.parent_path() / ("given" + std::to_string(n + 1) + ".mpg");
      std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
      seen.push_back(std::filesystem::file_size(copy));
    }
    for (int given = 1; given <= kPictures; ++given) {
      const auto copy = file.parent_path() / ("given" + std::to_string(given) + ".mpg");
      EXPECT_GE(static_cast<int>(middleLumas(copy.string()).size()), given - 3) << "run " << run << ", " << given << " given";
    }
  }
  EXPECT_EQ(sizes[1], sizes[0]);
  EXPECT_EQ(sizes[2], sizes[0]);
}

TEST_F(MpegFileWriterTest, AWriterLetGoInTheMiddleOfAStreamStopsItsEncodingThread) {
  auto writer = create();
  ASSERT_TRUE(writer);
  writeRamp(*writer, 12);
  writer.reset();  // never finished: the thread encodes what waits and ends
  SUCCEED();
}

}  // namespace
