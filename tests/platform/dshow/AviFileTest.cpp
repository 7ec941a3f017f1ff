#include "CaptureTest.h"

#include <support/Settling.h>

#include <machine/TestPicture.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

using plat::ComPtr;

namespace {

// A RIFF file read back chunk by chunk.
class RiffReader {
 public:
  explicit RiffReader(std::vector<BYTE> bytes) : m_bytes(std::move(bytes)) {}

  std::string fourcc(size_t at) const { return std::string(reinterpret_cast<const char*>(&m_bytes[at]), 4); }
  DWORD u32(size_t at) const {
    DWORD v = 0;
    std::memcpy(&v, &m_bytes[at], 4);
    return v;
  }
  size_t size() const { return m_bytes.size(); }
  const BYTE* at(size_t offset) const { return &m_bytes[offset]; }

  // The chunks (id, data offset, size) of a list's body, walking [begin, end).
  std::vector<std::tuple<std::string, size_t, DWORD>> chunks(size_t begin, size_t end) const {
    std::vector<std::tuple<std::string, size_t, DWORD>> found;
    while (begin + 8 <= end) {
      const DWORD length = u32(begin + 4);
      found.emplace_back(fourcc(begin), begin + 8, length);
      begin += 8 + length + (length & 1);
    }
    return found;
  }

 private:
  std::vector<BYTE> m_bytes;
};

class AviFileTest : public dstest::CaptureTest {
 protected:
  // A small picture keeps the file small: 160 x 120 YUY2, 25 frames a second.
  void smallPicture(IBaseFilter* device) {
    ComPtr<IAMStreamConfig> config = as<IAMStreamConfig>(pin(device, L"Capture").get(), IID_IAMStreamConfig);
    AM_MEDIA_TYPE* type = nullptr;
    ASSERT_EQ(config->GetFormat(&type), S_OK);
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
    info->bmiHeader.biWidth = 160;
    info->bmiHeader.biHeight = 120;
    info->bmiHeader.biSizeImage = 160 * 120 * 2;
    info->AvgTimePerFrame = 400000;
    ASSERT_EQ(config->SetFormat(type), S_OK);
    DeleteMediaType(type);
  }
  std::filesystem::path fileOnC(const char* name) { return machine().paths().driveFolder('C') / name; }
  static std::uint64_t sizeOf(const std::filesystem::path& file) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    return ec ? 0 : static_cast<std::uint64_t>(size);
  }
  // Picture chunks written so far ("00db" tags in the file as it grows): sound chunks
  // grow the file too, so its size alone does not say a picture arrived.
  static std::size_t picturesIn(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t count = 0;
    for (std::size_t at = bytes.find("00db"); at != std::string::npos; at = bytes.find("00db", at + 4)) ++count;
    return count;
  }
  static RiffReader read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return RiffReader(std::vector<BYTE>(std::istreambuf_iterator<char>(in), {}));
  }
  // The top-level lists (by type) and chunks (by id) of an AVI: where their bodies start, and their sizes.
  static std::map<std::string, std::pair<size_t, DWORD>> topLevel(const RiffReader& riff) {
    std::map<std::string, std::pair<size_t, DWORD>> top;
    for (const auto& [id, offset, length] : riff.chunks(12, riff.size())) {
      if (id == "LIST") top[riff.fourcc(offset)] = {offset + 4, length - 4};
      else top[id] = {offset, length};
    }
    return top;
  }
};

}  // namespace

TEST_F(AviFileTest, TheMuxWritesAnAviThatReadsBack) {
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  smallPicture(device.get());

  ComPtr<IBaseFilter> mux;
  ComPtr<IFileSinkFilter> sink;
  ASSERT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, L"C:\\capture.avi", mux.put(), sink.put()), S_OK);
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), nullptr, mux.get()), S_OK);
  auto& stick = machine().service<plat::TvStickCapture>();
  stick.tuneCarrier(stick.control().broadcast().stations()[2].carrierHz);
  const int channel = stick.scene().number;

  const auto file = fileOnC("capture.avi");
  auto fileSize = [&] { return sizeOf(file); };
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  constexpr DWORD kFrameBytes = 160 * 120 * 2;
  // A single stream's header fills the first 512 bytes; then a chunk per frame: the
  // frame at time 0 at once, one more every 40 ms of the clock.
  constexpr std::uint64_t kHeaderBytes = 512;
  for (int frame = 1; frame <= 10; ++frame) {
    if (frame > 1) machine().clock().advance(40);
    ASSERT_TRUE(test::holdsWhenSettled(machine().clock(),
        [&] { return fileSize() >= kHeaderBytes + frame * (8 + kFrameBytes); })) << frame;
  }
  ASSERT_EQ(control->Stop(), S_OK);

  const RiffReader riff = read(file);
  ASSERT_GT(riff.size(), 12u);
  EXPECT_EQ(riff.fourcc(0), "RIFF");
  EXPECT_EQ(riff.u32(4), riff.size() - 8);
  EXPECT_EQ(riff.fourcc(8), "AVI ");

  auto top = topLevel(riff);
  ASSERT_TRUE(top.count("hdrl") && top.count("movi") && top.count("idx1"));

  // The header: one video stream of 160 x 120, its frame count and rate.
  const auto [hdrl, hdrlSize] = top["hdrl"];
  const auto header = riff.chunks(hdrl, hdrl + hdrlSize);
  ASSERT_EQ(std::get<0>(header[0]), "avih");
  const size_t avih = std::get<1>(header[0]);
  const DWORD frames = riff.u32(avih + 16);
  EXPECT_EQ(riff.u32(avih + 24), 1u);     // streams
  EXPECT_EQ(riff.u32(avih + 32), 160u);   // width
  EXPECT_EQ(riff.u32(avih + 36), 120u);   // height
  EXPECT_EQ(riff.u32(avih + 0), 40000u);  // microseconds per frame
  EXPECT_EQ(frames, 10u);
  ASSERT_EQ(std::get<0>(header[1]), "LIST");
  const size_t strl = std::get<1>(header[1]) + 4;
  const auto stream = riff.chunks(strl, std::get<1>(header[1]) + std::get<2>(header[1]));
  ASSERT_EQ(std::get<0>(stream[0]), "strh");
  EXPECT_EQ(riff.fourcc(std::get<1>(stream[0])), "vids");
  EXPECT_EQ(riff.fourcc(std::get<1>(stream[0]) + 4), "YUY2");
  EXPECT_EQ(riff.u32(std::get<1>(stream[0]) + 32), frames);  // length
  ASSERT_EQ(std::get<0>(stream[1]), "strf");
  BITMAPINFOHEADER bitmap{};
  std::memcpy(&bitmap, riff.at(std::get<1>(stream[1])), sizeof(bitmap));
  EXPECT_EQ(bitmap.biWidth, 160);
  EXPECT_EQ(bitmap.biBitCount, 16);

  // The frames: as many chunks as the header says, each a whole picture of the channel.
  const auto [movi, moviSize] = top["movi"];
  EXPECT_EQ(movi, kHeaderBytes);
  const auto chunks = riff.chunks(movi, movi + moviSize);
  ASSERT_EQ(chunks.size(), frames);
  for (const auto& [id, offset, length] : chunks) {
    EXPECT_EQ(id, "00db");
    EXPECT_EQ(length, kFrameBytes);
  }
  const BYTE* first = riff.at(std::get<1>(chunks[0]));
  const BYTE* corner = first + (119 * 160 + 150) * 2;  // x 150 of the last row (an even pixel)
  const plat::Rgb seen = plat::TestPicture::yuvToRgb(corner[0], corner[1], corner[3]);
  const plat::Rgb wanted = plat::TestPicture::stationColour(channel);
  EXPECT_NEAR(seen.r, wanted.r, 4);
  EXPECT_NEAR(seen.g, wanted.g, 4);
  EXPECT_NEAR(seen.b, wanted.b, 4);

  // The index: one entry per chunk, pointing at it from the 'movi' type.
  const auto [idx1, idx1Size] = top["idx1"];
  ASSERT_EQ(idx1Size, 16u * frames);
  for (DWORD i = 0; i < frames; ++i) {
    const size_t entry = idx1 + 16 * i;
    EXPECT_EQ(riff.fourcc(entry), "00db");
    EXPECT_EQ(riff.u32(entry + 4), 0x10u);  // key frame
    EXPECT_EQ(movi - 4 + riff.u32(entry + 8) + 8, std::get<1>(chunks[i]));
    EXPECT_EQ(riff.u32(entry + 12), kFrameBytes);
  }
}

TEST_F(AviFileTest, SoundAndPictureAreTwoStreamsOfOneFile) {
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  smallPicture(device.get());
  ComPtr<IBaseFilter> audio = addDevice(CLSID_AudioInputDeviceCategory, L"Audio Capture");
  ASSERT_TRUE(audio);
  AM_MEDIA_TYPE* sound = nullptr;
  ASSERT_EQ(as<IAMStreamConfig>(pin(audio.get(), L"Capture").get(), IID_IAMStreamConfig)->GetFormat(&sound), S_OK);
  WAVEFORMATEX wave{};
  std::memcpy(&wave, sound->pbFormat, sizeof(wave) - sizeof(WORD));
  DeleteMediaType(sound);

  ComPtr<IBaseFilter> mux;
  ASSERT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, L"C:\\both.avi", mux.put(), nullptr), S_OK);
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), nullptr, mux.get()), S_OK);
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, audio.get(), nullptr, mux.get()), S_OK);
  // Each stream took an input of its own, and a free one is left.
  ComPtr<IPin> spare;
  EXPECT_EQ(mux->FindPin(L"Input 03", spare.put()), S_OK);

  const auto file = fileOnC("both.avi");
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(),
      [&] { return picturesIn(file) >= 1; }));  // the first frame, at once
  ASSERT_TRUE(step([&] { return picturesIn(file); }, 6));
  ASSERT_EQ(control->Stop(), S_OK);

  const RiffReader riff = read(file);
  EXPECT_EQ(riff.u32(4), riff.size() - 8);
  auto top = topLevel(riff);
  ASSERT_TRUE(top.count("hdrl") && top.count("movi") && top.count("idx1"));
  const auto [hdrl, hdrlSize] = top["hdrl"];
  const auto header = riff.chunks(hdrl, hdrl + hdrlSize);
  ASSERT_EQ(header.size(), 3u);  // avih and a stream list each
  const size_t avih = std::get<1>(header[0]);
  EXPECT_EQ(riff.u32(avih + 24), 2u);

  // The sound's stream: its wave format, and a length in blocks.
  const size_t strl = std::get<1>(header[2]) + 4;
  const auto stream = riff.chunks(strl, std::get<1>(header[2]) + std::get<2>(header[2]));
  const size_t strh = std::get<1>(stream[0]);
  EXPECT_EQ(riff.fourcc(strh), "auds");
  EXPECT_EQ(riff.u32(strh + 20), wave.nBlockAlign);      // scale
  EXPECT_EQ(riff.u32(strh + 24), wave.nAvgBytesPerSec);  // rate
  const DWORD blocks = riff.u32(strh + 32);
  EXPECT_EQ(std::get<2>(stream[1]), sizeof(WAVEFORMATEX));
  EXPECT_EQ(std::memcmp(riff.at(std::get<1>(stream[1])), &wave, sizeof(wave) - sizeof(WORD)), 0);

  // The chunks: pictures as 00db, sound as 01wb, both counted in the header and indexed in order.
  const auto [movi, moviSize] = top["movi"];
  const auto chunks = riff.chunks(movi, movi + moviSize);
  DWORD pictures = 0, soundBytes = 0, soundChunks = 0;
  for (const auto& [id, offset, length] : chunks) {
    if (id == "00db") ++pictures;
    else if (id == "01wb") soundBytes += length, ++soundChunks;
    else ADD_FAILURE() << id;
  }
  EXPECT_GE(pictures, 7u);
  EXPECT_GE(soundChunks, 2u);
  EXPECT_EQ(riff.u32(avih + 16), pictures);
  EXPECT_EQ(blocks * wave.nBlockAlign, soundBytes);
  const auto [idx1, idx1Size] = top["idx1"];
  ASSERT_EQ(idx1Size, 16u * chunks.size());
  for (size_t i = 0; i < chunks.size(); ++i) {
    EXPECT_EQ(riff.fourcc(idx1 + 16 * i), std::get<0>(chunks[i]));
    EXPECT_EQ(movi - 4 + riff.u32(idx1 + 16 * i + 8) + 8, std::get<1>(chunks[i]));
  }
}
