// What the channel list's tunings ask of the object that owns the list (the controller):
// the sound off and on around a muted tuning, and in a 38 MHz country the video decoder
// following the standard of the channel tuned. The list sits below its owner and reaches
// it only through this; a list without a host tunes the tuner alone.
#pragma once

#include <mfc/afx.h>

class IChannelTuningHost {
 public:
  // 0 mutes, anything else unmutes.
  virtual void SetAudioOn(int on) = 0;
  virtual void ApplyChannelStandard(CString standardName) = 0;

 protected:
  ~IChannelTuningHost() = default;
};
