// The launcher's animations: small, valid one-frame movie files (uncompressed "FWS"
// format) of the Flash control's size, holding a background colour and the caption as the
// frame's label, for the animation control to show.
#pragma once

#include "Colour.h"
#include "PictureFiles.h"

#include <string>

namespace skingen {

Bytes encodeMovie(int width, int height, Rgb background, const std::string& caption);

}  // namespace skingen
