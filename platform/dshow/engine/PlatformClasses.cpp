#include <dshow/engine/PlatformClasses.h>

#include <dshow/ProcAmpPage.h>
#include <dshow/baseclasses/CMemAllocator.h>
#include <dshow/engine/CaptureGraphBuilder.h>
#include <dshow/engine/DeviceEnumerator.h>
#include <dshow/engine/FilterCatalog.h>
#include <dshow/engine/FilterGraph.h>
#include <dshow/engine/SystemClock.h>
#include <dshow/mediafiles.h>
#include <dshow/des/MediaDetector.h>
#include <dshow/des/RenderEngine.h>
#include <dshow/des/Timeline.h>
#include <dshow/filters/AlawCompressor.h>
#include <dshow/filters/AlawDecompressor.h>
#include <dshow/filters/AsyncFileSource.h>
#include <dshow/filters/AudioCapture.h>
#include <dshow/filters/AudioRenderer.h>
#include <dshow/filters/AviDecompressor.h>
#include <dshow/filters/AviMux.h>
#include <dshow/filters/DefaultVideoRenderer.h>
#include <dshow/filters/FileWriter.h>
#include <dshow/filters/MediaSplitter.h>
#include <dshow/filters/MjpegCompressor.h>
#include <dshow/filters/MjpegDecompressor.h>
#include <dshow/filters/MpegAudioDecoder.h>
#include <dshow/filters/MpegVideoDecoder.h>
#include <dshow/filters/NullRenderer.h>
#include <dshow/filters/OverlayMixer.h>
#include <dshow/filters/SmartTee.h>
#include <dshow/filters/TvCapture.h>
#include <dshow/filters/TvCrossbar.h>
#include <dshow/filters/TvTuner.h>
#include <dshow/filters/VideoRenderer.h>
#include <dshow/filters/Vmr9Renderer.h>

namespace plat {

namespace {

struct ClassEntry {
  const CLSID* clsid;
  CreateInstanceFn create;
  const AMOVIESETUP_FILTER* setup;
};

const ClassEntry kClasses[] = {
    {&CLSID_FilterGraph, &PlatformClasses::create<&FilterGraph::CreateInstance>, nullptr},
    {&CLSID_SystemClock, &PlatformClasses::create<&SystemClock::CreateInstance>, nullptr},
    {&CLSID_MemoryAllocator, &PlatformClasses::create<&CMemAllocator::CreateInstance>, nullptr},
    {&CLSID_CaptureGraphBuilder2, &PlatformClasses::create<&CaptureGraphBuilder::CreateInstance>, nullptr},
    {&CLSID_SystemDeviceEnum, &PlatformClasses::create<&DeviceEnumerator::CreateInstance>, nullptr},
    // The capture hardware's drivers: found through the device enumerator, not by merit.
    {&CLSID_TvStickCapture, &PlatformClasses::create<&TvCapture::CreateInstance>, nullptr},
    {&CLSID_TvStickCrossbar, &PlatformClasses::create<&TvCrossbar::CreateInstance>, nullptr},
    {&CLSID_TvStickTuner, &PlatformClasses::create<&TvTuner::CreateInstance>, nullptr},
    {&CLSID_CaptureCardCapture, &PlatformClasses::create<&TvCapture::CreateCardInstance>, nullptr},
    {&CLSID_ProcAmpPropertyPage, &ProcAmpPage::create, nullptr},
    {&CLSID_AudioCapture, &PlatformClasses::create<&AudioCapture::CreateInstance>, nullptr},
    // Editing Services.
    {&CLSID_AMTimeline, &PlatformClasses::create<&Timeline::CreateInstance>, nullptr},
    {&CLSID_RenderEngine, &PlatformClasses::create<&RenderEngine::CreateInstance>, nullptr},
    {&CLSID_MediaDet, &PlatformClasses::create<&MediaDetector::CreateInstance>, nullptr},
    // Compressors: found through the device enumerator's compressor categories only.
    {&CLSID_MjpegCompressor, &PlatformClasses::create<&MjpegCompressor::CreateInstance>, nullptr},
    {&CLSID_AlawCompressor, &PlatformClasses::create<&AlawCompressor::CreateInstance>, nullptr},
    // The platform's filters; those with a setup record are candidates for intelligent connect.
    {&CLSID_SmartTee, &PlatformClasses::create<&SmartTee::CreateInstance>, &SmartTee::kSetup},
    {&CLSID_AVIDec, &PlatformClasses::create<&AviDecompressor::CreateInstance>, &AviDecompressor::kSetup},
    {&CLSID_OverlayMixer, &PlatformClasses::create<&OverlayMixer::CreateInstance>, &OverlayMixer::kSetup},
    {&CLSID_VideoRenderer, &PlatformClasses::create<&VideoRenderer::CreateInstance>, &VideoRenderer::kSetup},
    {&CLSID_VideoRendererDefault, &PlatformClasses::create<&DefaultVideoRenderer::CreateInstance>,
     &DefaultVideoRenderer::kSetup},
    {&CLSID_VideoMixingRenderer9, &PlatformClasses::create<&Vmr9Renderer::CreateInstance>, nullptr},
    {&CLSID_DSoundRender, &PlatformClasses::create<&AudioRenderer::CreateInstance>, &AudioRenderer::kSetup},
    {&CLSID_NullRenderer, &PlatformClasses::create<&NullRenderer::CreateInstance>, nullptr},
    {&CLSID_FileWriter, &PlatformClasses::create<&FileWriter::CreateInstance>, &FileWriter::kSetup},
    {&CLSID_AviDest, &PlatformClasses::create<&AviMux::CreateInstance>, &AviMux::kSetup},
    // File playback: the source RenderFile starts from, the parsers and the decoders.
    {&CLSID_AsyncReader, &PlatformClasses::create<&AsyncFileSource::CreateInstance>, nullptr},
    {&CLSID_MPEG2Splitter, &PlatformClasses::create<&MediaSplitter::CreateMpeg2Splitter>,
     &MediaSplitter::kMpeg2SplitterSetup},
    {&CLSID_MPEG2Demultiplexer, &PlatformClasses::create<&MediaSplitter::CreateDemultiplexer>,
     &MediaSplitter::kDemultiplexerSetup},
    {&CLSID_AviSplitter, &PlatformClasses::create<&MediaSplitter::CreateAviSplitter>, &MediaSplitter::kAviSplitterSetup},
    {&CLSID_WAVEParser, &PlatformClasses::create<&MediaSplitter::CreateWaveParser>, &MediaSplitter::kWaveParserSetup},
    {&CLSID_CMpegVideoCodec, &PlatformClasses::create<&MpegVideoDecoder::CreateInstance>, &MpegVideoDecoder::kSetup},
    {&CLSID_CMpegAudioCodec, &PlatformClasses::create<&MpegAudioDecoder::CreateInstance>, &MpegAudioDecoder::kSetup},
    {&CLSID_MjpegDec, &PlatformClasses::create<&MjpegDecompressor::CreateInstance>, &MjpegDecompressor::kSetup},
    {&CLSID_ACMWrapper, &PlatformClasses::create<&AlawDecompressor::CreateInstance>, &AlawDecompressor::kSetup},
};

const bool g_registered = PlatformClasses::registerAll();

}  // namespace

bool PlatformClasses::registerAll() {
  for (const ClassEntry& entry : kClasses) {
    BuiltinClasses::add(*entry.clsid, entry.create);
    if (entry.setup) FilterCatalog::addBuiltin(*entry.setup);
  }
  return true;
}

}  // namespace plat
