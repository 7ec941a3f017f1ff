// The wires inside the TV stick, as pin mediums: the tuner's outputs to the crossbar's
// tuner inputs and the crossbar's video output to the capture filter's analogue input.
// The capture graph builder connects the stick's filters by matching these.
#pragma once

#include <dshow/axextend.h>

namespace plat {

// {D2F0A6C1-3B7E-4E19-8F42-6C0B5A7E9D10}
inline constexpr GUID kStickMediumSet = {0xD2F0A6C1, 0x3B7E, 0x4E19, {0x8F, 0x42, 0x6C, 0x0B, 0x5A, 0x7E, 0x9D, 0x10}};
inline constexpr REGPINMEDIUM kTunerVideoWire = {kStickMediumSet, 1, 0};
inline constexpr REGPINMEDIUM kTunerAudioWire = {kStickMediumSet, 2, 0};
inline constexpr REGPINMEDIUM kDecoderVideoWire = {kStickMediumSet, 3, 0};
inline constexpr REGPINMEDIUM kDecoderAudioWire = {kStickMediumSet, 4, 0};
inline constexpr REGPINMEDIUM kSocket = {GUID_NULL, 0, 0};

}  // namespace plat
