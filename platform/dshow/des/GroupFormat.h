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
  // Frames a second as a fraction; the n-th picture starts at frameStart(n) exactly,
  // so a long group's pictures stay on its clips' own frame times.
  int rateNum = 25;
  int rateDen = 1;
  REFERENCE_TIME frameTime = 400000;  // one frame, rounded down to whole units
  int sampleRate = 44100;
  int channels = 2;

  static GroupFormat of(bool video, const std::vector<TimelineNode::Clip>& clips);
  CMediaType mediaType() const;
  // Where picture `frame` starts, rounded down to whole units.
  REFERENCE_TIME frameStart(std::int64_t frame) const;
  // The first picture starting at or after `time`.
  std::int64_t firstFrameFrom(REFERENCE_TIME time) const;
  // Bytes of one picture, or of the sound of one sample.
  long sampleBytes() const;
  // Sound frames sent in one sample: a twentieth of a second.
  int soundFrames() const { return sampleRate / 20; }
};

}  // namespace plat
