// The uncompressed stream a timeline group sends: YUY2 pictures of one size at one frame
// rate for a video group, 16-bit PCM for an audio group. The format follows the group's
// first clip that has the group's kind of media, so the clips of a recording keep their
// own size, rate and sound.
#pragma once

#include <dshow/baseclasses/CMediaType.h>
#include <dshow/des/TimelineNode.h>

namespace plat {

struct GroupFormat {
  bool video = true;
  int width = 320;
  int height = 240;
  REFERENCE_TIME frameTime = 400000;  // 25 frames a second
  int sampleRate = 44100;
  int channels = 2;

  static GroupFormat of(bool video, const std::vector<TimelineNode::Clip>& clips);
  CMediaType mediaType() const;
  // Bytes of one picture, or of the sound of one sample.
  long sampleBytes() const;
  // Sound frames sent in one sample: a twentieth of a second.
  int soundFrames() const { return sampleRate / 20; }
};

}  // namespace plat
