// skingen: draws the default skins into the program folder and the program's bitmaps and
// icons beside a resource file, from the description in resources/DefaultSkins.def.
//   skingen <description> <program folder> <art .rc file>
#include "Description.h"
#include "SkinWriter.h"
#include "TextPainter.h"

#include <iostream>
#include <stdexcept>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: skingen <description> <program folder> <art .rc file>\n";
    return 2;
  }
  try {
    const skingen::Description description = skingen::readDescription(argv[1]);
    skingen::TextPainter text;
    skingen::SkinWriter writer(argv[2], text);
    for (const skingen::WindowSkin& skin : description.windows) writer.writeWindow(skin);
    for (const skingen::BarSkin& bar : description.bars) writer.writeBar(bar);
    for (const skingen::FramedSkin& skin : description.framedWindows) writer.writeFramed(skin);
    writer.writeResources(description, argv[3]);
  } catch (const std::exception& e) {
    std::cerr << "skingen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
