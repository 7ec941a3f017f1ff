#include <com/ole2.h>

HRESULT OleInitialize(LPVOID) { return CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

void OleUninitialize() { CoUninitialize(); }
