// What the recorder's settings interfaces chose, read when a recording starts. The
// defaults are the filter's own: MPEG-1 at 320 x 240, 25 frames a second.
#pragma once

#include <win32/types.h>

namespace plat {

struct EncoderSettings {
  LONG streamType = 1;
  LONG videoBitRate = 1250000;  // bit/s
  LONG frameRateCode = 3;
  LONG audioKbitRate = 224;
  LONG width = 0;  // 0: the stream type's own size
  LONG height = 0;

  // MPEG-2 for the MPEG-2, SVCD and DVD stream types; MPEG-1 for the others.
  bool mpeg2() const;
  // The picture size the encoder writes: the size set, else the stream type's own.
  LONG pictureWidth() const;
  LONG pictureHeight() const;

  static bool validStreamType(LONG type);
  static bool validFrameRateCode(LONG code) { return code >= 1 && code <= 8; }
  // Frames per second of a frame rate code, as numerator and denominator.
  static void frameRate(LONG code, int& num, int& den);
};

}  // namespace plat
