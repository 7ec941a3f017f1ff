// The small picture area of the settings hub, its pages and the other skinned windows that
// show one: a video area at a design rectangle of the 1024 x 768 space, kept in the control
// for later layouts, that never goes full screen, and the live picture brought into it.
#pragma once

#include <win32/types.h>

#include <memory>

class CVideoStatic;
class CWnd;

// A visible video area child of `parent` with control id 0; null when it cannot be made.
std::unique_ptr<CVideoStatic> MakeVideoArea(CWnd& parent, const RECT& design);
// The area at its design rectangle scaled to its parent's client area.
void PlaceVideoArea(CVideoStatic& area);
// The live picture goes into the area: a running preview is handed over, an idle
// controller starts one; nothing in other run states or without a controller.
void ShowLivePicture(CVideoStatic& area);
// Destroys the area's window and deletes it; nothing when there is none.
void DestroyVideoArea(std::unique_ptr<CVideoStatic>& area);
