// OLE initialisation: the same per-thread count as CoInitialize, in the apartment model.
#pragma once

#include <com/objbase.h>

HRESULT OleInitialize(LPVOID pvReserved);
void OleUninitialize();
