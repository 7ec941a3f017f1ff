// Image lists: equal-sized images kept side by side in one bitmap, with a monochrome
// mask when made with ILC_MASK (1 marks a transparent pixel), drawn by index, and the
// drag image that follows the pointer on the screen while a list item is dragged.
//
// AddMasked turns the pixels of the mask colour black in the stored image, as Windows
// does. Drawing with a mask keeps the destination where the mask is 1.
#pragma once

#include <win32/types.h>

struct _IMAGELIST;
using HIMAGELIST = _IMAGELIST*;

#define ILC_MASK 0x00000001
#define ILC_COLOR 0x00000000
#define ILC_COLORDDB 0x000000FE
#define ILC_COLOR4 0x00000004
#define ILC_COLOR8 0x00000008
#define ILC_COLOR16 0x00000010
#define ILC_COLOR24 0x00000018
#define ILC_COLOR32 0x00000020

#define ILD_NORMAL 0x00000000
#define ILD_TRANSPARENT 0x00000001
#define ILD_MASK 0x00000010
#define ILD_IMAGE 0x00000020

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// The bitmap's width holds one or more images; the index of the first added, or -1.
int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask);
// Grows the list with blank images, or drops the last ones.
BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount);
// Image i takes the first image of the bitmap (and of the mask, when given).
BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask);
// Takes image i out, the later ones moving down by one; -1 takes every image out.
BOOL ImageList_Remove(HIMAGELIST himl, int i);
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);

// Dragging: the image (its hot spot at the pointer) shows on the screen from DragEnter
// to DragLeave, placed relative to the top-left of the locked window (or the screen).
BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot);
BOOL ImageList_DragEnter(HWND hwndLock, int x, int y);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragLeave(HWND hwndLock);
void ImageList_EndDrag();
