// The program's own bitmaps and icons, by look: slider channels and thumbs (transparent
// by magenta or by their top-left pixel, with hard edges so no key colour bleeds), the
// editor's opaque position bars, the channel wall's stand-in picture, list and combo box
// frames, the text panel and the button band; the program, folder and pointer icons.
#pragma once

#include "Canvas.h"
#include "Description.h"
#include "PictureFiles.h"
#include "TextPainter.h"

namespace skingen {

Canvas drawResourceBitmap(const PictureResource& picture, TextPainter& text);
Bytes drawResourceIcon(const PictureResource& icon);

}  // namespace skingen
