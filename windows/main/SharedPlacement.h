// Where the skinned windows stand: one rectangle, one maximised flag and one saved
// placement shared by every skinned window, so whichever window comes to the front takes
// the place and size of the one it replaces. Made by the launcher while it fills the
// screen and freed when it goes; user-interface thread only.
#pragma once

#include <win32/types.h>
#include <win32/user.h>

// The normal (not maximised) outer rectangle a window takes when it is shown or returns.
extern RECT g_sharedWindowRect;
// 1 while the skinned windows fill the screen; the program starts so.
extern int g_isMaximized;
// The placement a restore goes back to; null before the launcher makes it.
extern WINDOWPLACEMENT* g_sharedPlacement;

// The first restore gives a window of 800/1024 x 600/768 of a `cx` x `cy` screen, centred.
void InitSharedPlacement(int cx, int cy);
void FreeSharedPlacement();
