// Event codes that filters and the graph put on the graph's event queue (IMediaEventEx).
#pragma once

#define EC_COMPLETE 0x01
#define EC_USERABORT 0x02
#define EC_ERRORABORT 0x03
#define EC_TIME 0x04
#define EC_REPAINT 0x05
#define EC_STREAM_ERROR_STOPPED 0x06
#define EC_STREAM_ERROR_STILLPLAYING 0x07
#define EC_VIDEO_SIZE_CHANGED 0x0A
#define EC_QUALITY_CHANGE 0x0B
#define EC_SHUTTING_DOWN 0x0C
#define EC_CLOCK_CHANGED 0x0D
#define EC_PAUSED 0x0E
#define EC_FULLSCREEN_LOST 0x12
#define EC_WINDOW_DESTROYED 0x15
#define EC_STARVATION 0x17
#define EC_DEVICE_LOST 0x1F
#define EC_USER 0x8000
