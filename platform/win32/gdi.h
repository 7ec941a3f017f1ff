// GDI: device contexts, bitmaps and block transfers, pens and brushes, regions, fonts
// and text, with real pixels. Including this header brings in every GDI declaration.
#pragma once

#include <win32/gdi/bitmap.h>
#include <win32/gdi/dc.h>
#include <win32/gdi/draw.h>
#include <win32/gdi/font.h>
#include <win32/gdi/icon.h>
#include <win32/gdi/image.h>
#include <win32/gdi/imagelist.h>
#include <win32/gdi/object.h>
#include <win32/gdi/region.h>
#include <win32/gdi/windowdc.h>
