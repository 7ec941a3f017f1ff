// The MFC data classes: diagnostics (ASSERT, VERIFY, TRACE), CObject and run-time classes,
// CString, the collections, CTime/CTimeSpan, the files (CFile, CStdioFile, CArchive) and
// CRect/CPoint/CSize. The window classes come with afxwin.h, which includes this header.
#pragma once

#include <mfc/afxdebug.h>
#include <mfc/CObject.h>
#include <mfc/CRuntimeClass.h>
#include <mfc/CString.h>
#include <mfc/StringResources.h>

#include <mfc/CArray.h>
#include <mfc/CList.h>
#include <mfc/CMap.h>
#include <mfc/CObArray.h>
#include <mfc/CObList.h>
#include <mfc/CPtrArray.h>
#include <mfc/CPtrList.h>
#include <mfc/CMapPtrToPtr.h>
#include <mfc/CMapStringToOb.h>
#include <mfc/CMapStringToPtr.h>
#include <mfc/CMapStringToString.h>
#include <mfc/CStringArray.h>
#include <mfc/CStringList.h>

#include <mfc/CTime.h>
#include <mfc/CTimeSpan.h>

#include <mfc/CArchive.h>
#include <mfc/CFile.h>
#include <mfc/CFileException.h>
#include <mfc/CFileStatus.h>
#include <mfc/CStdioFile.h>

#include <mfc/CPoint.h>
#include <mfc/CRect.h>
#include <mfc/CSize.h>
