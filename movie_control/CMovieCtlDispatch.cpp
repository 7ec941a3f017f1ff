// The control's type library and dispatch table: one row per dispatch id and kind, in the
// order of IMovieCtl's entries.
#include "CMovieCtl.h"

#include <atl/DispatchInvoker.h>

using plat::MemberDescription;
using plat::atl::DispatchEntry;
using plat::atl::invoke;

namespace {

#define METHOD(id, name, ...) MemberDescription{id, #name, INVOKE_FUNC, {__VA_ARGS__}}
#define GET(id, name) MemberDescription{id, #name, INVOKE_PROPERTYGET, {}}
#define PUT(id, name) MemberDescription{id, #name, INVOKE_PROPERTYPUT, {"newVal"}}
#define PICTURE_MEMBERS(P, i)                                                                         \
  GET(33 + 6 * (i), P), PUT(33 + 6 * (i), P), GET(34 + 6 * (i), Min##P), GET(35 + 6 * (i), Max##P), \
      GET(36 + 6 * (i), Default##P), GET(37 + 6 * (i), P##SteppingDelta), GET(38 + 6 * (i), P##Flags),  \
      PUT(38 + 6 * (i), P##Flags)

std::vector<MemberDescription> interfaceMembers() {
  return {
      METHOD(1, Init),
      GET(2, CanCapture),
      GET(3, CanTune),
      GET(4, CanControlVolume),
      METHOD(5, Play),
      METHOD(6, Pause),
      METHOD(7, Stop),
      GET(8, AnalogVideoFormat),
      PUT(8, AnalogVideoFormat),
      GET(9, TunerMode),
      PUT(9, TunerMode),
      GET(10, InputType),
      PUT(10, InputType),
      GET(11, CountryCode),
      PUT(11, CountryCode),
      GET(13, TuningSpace),
      PUT(13, TuningSpace),
      GET(14, MinChannel),
      GET(15, MaxChannel),
      PUT(15, MaxChannel),
      GET(16, Channel),
      PUT(16, Channel),
      GET(17, VideoFrequency),
      PUT(17, VideoFrequency),
      METHOD(18, SignalPresent, "plSignalPresent"),
      METHOD(19, SetPrevChannel),
      METHOD(20, AutoTune, "lChannel", "plFoundSignal"),
      METHOD(21, StoreAutoTune),
      METHOD(22, ScanAndStoreTune),
      METHOD(23, OverrideChannel, "lChannel", "dwNewFrequency", "dwFlags"),
      METHOD(24, UnoverrideChannel, "lChannel"),
      GET(25, IsOverrideChannel),
      METHOD(30, GetVideoRange, "lProperty", "lpMin", "lpMax", "lpSteppingDelta", "lpDefault", "lpCapsFlags"),
      METHOD(31, GetVideoProperty, "lProperty", "lpValue", "lpFlags"),
      METHOD(32, SetVideoProperty, "lProperty", "lValue", "lFlags"),
      PICTURE_MEMBERS(Brightness, 0),
      PICTURE_MEMBERS(Contrast, 1),
      PICTURE_MEMBERS(Hue, 2),
      PICTURE_MEMBERS(Saturation, 3),
      PICTURE_MEMBERS(Sharpness, 4),
      GET(63, FullScreenMode),
      PUT(63, FullScreenMode),
      GET(64, FrameWidth),
      PUT(64, FrameWidth),
      GET(65, FrameHeight),
      PUT(65, FrameHeight),
      METHOD(66, SetVideoFrameSize, "lWidth", "lHeight"),
      METHOD(67, ShowSetupDialog, "lFlags"),
      GET(70, Volume),
      PUT(70, Volume),
      GET(71, VolumeMetric),
      PUT(71, VolumeMetric),
      GET(72, MaxVolume),
      GET(73, MinVolume),
      GET(74, Mute),
      PUT(74, Mute),
  };
}

std::vector<MemberDescription> eventMembers() {
  return {
      METHOD(DISPID_OnChannelChanged, OnChannelChanged, "lChannel"),
      METHOD(DISPID_OnChannelChanging, OnChannelChanging, "lCurrentChannel", "lNewChannel"),
      METHOD(DISPID_OnVolumeChanged, OnVolumeChanged, "lVolume"),
      METHOD(DISPID_OnVolumeChanging, OnVolumeChanging, "lCurrentVolume", "lNewVolume"),
  };
}

#undef METHOD
#undef GET
#undef PUT
#undef PICTURE_MEMBERS

#define M(id, name) DispatchEntry<CMovieCtl>{id, DISPATCH_METHOD, &invoke<&IMovieCtl::name, CMovieCtl>}
#define G(id, name) DispatchEntry<CMovieCtl>{id, DISPATCH_PROPERTYGET, &invoke<&IMovieCtl::get_##name, CMovieCtl>}
#define P(id, name) DispatchEntry<CMovieCtl>{id, DISPATCH_PROPERTYPUT, &invoke<&IMovieCtl::put_##name, CMovieCtl>}
#define PICTURE_ENTRIES(Q, i)                                                                     \
  G(33 + 6 * (i), Q), P(33 + 6 * (i), Q), G(34 + 6 * (i), Min##Q), G(35 + 6 * (i), Max##Q),     \
      G(36 + 6 * (i), Default##Q), G(37 + 6 * (i), Q##SteppingDelta), G(38 + 6 * (i), Q##Flags), \
      P(38 + 6 * (i), Q##Flags)

const DispatchEntry<CMovieCtl> kDispatch[] = {
    M(1, Init),
    G(2, CanCapture),
    G(3, CanTune),
    G(4, CanControlVolume),
    M(5, Play),
    M(6, Pause),
    M(7, Stop),
    G(8, AnalogVideoFormat),
    P(8, AnalogVideoFormat),
    G(9, TunerMode),
    P(9, TunerMode),
    G(10, InputType),
    P(10, InputType),
    G(11, CountryCode),
    P(11, CountryCode),
    G(13, TuningSpace),
    P(13, TuningSpace),
    G(14, MinChannel),
    G(15, MaxChannel),
    P(15, MaxChannel),
    G(16, Channel),
    P(16, Channel),
    G(17, VideoFrequency),
    P(17, VideoFrequency),
    M(18, SignalPresent),
    M(19, SetPrevChannel),
    M(20, AutoTune),
    M(21, StoreAutoTune),
    M(22, ScanAndStoreTune),
    M(23, OverrideChannel),
    M(24, UnoverrideChannel),
    G(25, IsOverrideChannel),
    M(30, GetVideoRange),
    M(31, GetVideoProperty),
    M(32, SetVideoProperty),
    PICTURE_ENTRIES(Brightness, 0),
    PICTURE_ENTRIES(Contrast, 1),
    PICTURE_ENTRIES(Hue, 2),
    PICTURE_ENTRIES(Saturation, 3),
    PICTURE_ENTRIES(Sharpness, 4),
    G(63, FullScreenMode),
    P(63, FullScreenMode),
    G(64, FrameWidth),
    P(64, FrameWidth),
    G(65, FrameHeight),
    P(65, FrameHeight),
    M(66, SetVideoFrameSize),
    M(67, ShowSetupDialog),
    G(70, Volume),
    P(70, Volume),
    G(71, VolumeMetric),
    P(71, VolumeMetric),
    G(72, MaxVolume),
    G(73, MinVolume),
    G(74, Mute),
    P(74, Mute),
};

#undef M
#undef G
#undef P
#undef PICTURE_ENTRIES

}  // namespace

const plat::LibraryDescription& CMovieCtl::typeLibrary() {
  static const plat::LibraryDescription kLibrary{
      &LIBID_QXMOVIELib,
      "QXMOVIELib",
      "Kinovar 1.0 Type Library",
      1,
      0,
      {
          {&IID_IMovieCtl, TKIND_DISPATCH, "IMovieCtl", "IMovieCtl Interface", interfaceMembers(), {}},
          {&DIID__IMovieCtlEvents, TKIND_DISPATCH, "_IMovieCtlEvents", "_IMovieCtlEvents Interface", eventMembers(), {}},
          {&CLSID_MovieCtl,
           TKIND_COCLASS,
           "MovieCtl",
           "Kinovar Class",
           {},
           {{&IID_IMovieCtl, IMPLTYPEFLAG_FDEFAULT}, {&DIID__IMovieCtlEvents, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}},
          {&CLSID_VidProp, TKIND_COCLASS, "VidProp", "VidProp Class", {}, {}},
      }};
  return kLibrary;
}

std::span<const DispatchEntry<CMovieCtl>> CMovieCtl::dispatchTable() { return kDispatch; }
