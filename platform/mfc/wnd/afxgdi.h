// MFC's drawing classes: device contexts (CDC, CPaintDC, CClientDC, CWindowDC), the GDI
// objects (CPen, CBrush, CFont, CBitmap, CRgn) and CImageList.
#pragma once

#include <mfc/wnd/CBitmap.h>
#include <mfc/wnd/CBrush.h>
#include <mfc/wnd/CClientDC.h>
#include <mfc/wnd/CDC.h>
#include <mfc/wnd/CFont.h>
#include <mfc/wnd/CGdiObject.h>
#include <mfc/wnd/CImageList.h>
#include <mfc/wnd/CPaintDC.h>
#include <mfc/wnd/CPen.h>
#include <mfc/wnd/CRgn.h>
#include <mfc/wnd/CWindowDC.h>
