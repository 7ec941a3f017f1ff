// What kind of media a file name says it holds: the picture format code the picture
// library loads it with, a video, or (when a folder is scanned) a picture. Each test looks
// only at the end of the name, without regard to case.
#pragma once

#include <win32/types.h>

// The picture library's format code for the last three or four characters of the path
// (no dot needed): 1 bmp, 2 gif, 3 jpg/jpeg, 4 png, 5 ico, 6 tif/tiff, 7 tga, 8 pcx,
// 10 wmf/emf, 11 j2k/jp2, 12 j2c/jpc, 13 pgx, 14 pnm/pgm/ppm, 15 ras; 0 for anything else
// (not a picture). A name ending in "wbmp" is a bitmap. Paths shorter than an extension
// are compared as far as they go.
unsigned long GetImageFormatFromExtension(LPCSTR path);

// The text after the last '.' is one of mpg, avi, mpeg, rmvb, rm, mp3, asf.
BOOL IsVideoFile(LPCSTR path);
