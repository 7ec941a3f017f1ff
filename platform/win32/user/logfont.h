// The logical font record, shared by the system metrics here and by GDI's font calls.
#pragma once

#include <win32/types.h>

#define LF_FACESIZE 32

struct LOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
};
using LPLOGFONTA = LOGFONTA*;
using LOGFONT = LOGFONTA;
static_assert(sizeof(LOGFONTA) == 60);

#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
