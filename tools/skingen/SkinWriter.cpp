#include "SkinWriter.h"

#include "BarArt.h"
#include "ButtonArt.h"
#include "ControlArt.h"
#include "FrameArt.h"
#include "MovieFile.h"
#include "PictureFiles.h"
#include "Theme.h"
#include "ResourceArt.h"
#include "WindowArt.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

namespace skingen {

namespace {

// The windows lay out their full-screen buttons in 1024 × 768 units and, restored, the
// buttons after the fixed ones (the first four in most windows) in 800 × 600 units.
constexpr int kDesignWidth = 1024, kDesignHeight = 768;
constexpr int kRestoredWidth = 800, kRestoredHeight = 600;

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::string rectFields(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

std::string flag(bool value) { return value ? "TRUE" : "FALSE"; }

std::string hitColour() {
  return std::to_string(kBarHitColour.r) + "," + std::to_string(kBarHitColour.g) + "," + std::to_string(kBarHitColour.b);
}

}  // namespace

Rect SkinWriter::restoredRect(const Rect& rect, std::size_t index, std::size_t fixed) {
  if (index < fixed) return rect;
  auto x = [](int v) { return static_cast<int>(std::lround(v * double(kRestoredWidth) / kDesignWidth)); };
  auto y = [](int v) { return static_cast<int>(std::lround(v * double(kRestoredHeight) / kDesignHeight)); };
  return {x(rect.left), y(rect.top), x(rect.right), y(rect.bottom)};
}

std::filesystem::path SkinWriter::folderOf(const std::string& windowsFolder) const {
  std::string relative = windowsFolder;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return m_programFolder / relative;
}

void SkinWriter::writeWindow(const WindowSkin& skin) {
  const std::filesystem::path folder = folderOf(skin.folder);
  const Canvas full = drawBackground(skin, kDesignWidth, kDesignHeight, m_text);
  const Canvas restored = drawBackground(skin, kRestoredWidth, kRestoredHeight, m_text);
  writeWholeFile(folder / skin.backgroundMax, encodeBitmap(full));
  writeWholeFile(folder / skin.backgroundMin, encodeBitmap(restored));

  std::ostringstream fullSection, restoredSection;
  for (std::size_t i = 0; i < skin.buttons.size(); ++i) {
    const WindowButton& button = skin.buttons[i];
    const std::string key = std::to_string(i + 1);
    const std::string file = lower(button.name) + ".bmp";
    writeWholeFile(folder / file, encodeBitmap(drawButtonStrip(button, full, button.rect, m_text)));
    fullSection << key << "=" << button.name << "," << file << "," << rectFields(button.rect) << ",0\n";

    const Rect small = restoredRect(button.rect, i, skin.fixedButtons);
    std::string smallFile = file;
    if (i >= skin.fixedButtons) {
      smallFile = lower(button.name) + "_min.bmp";
      writeWholeFile(folder / smallFile, encodeBitmap(drawButtonStrip(button, restored, small, m_text)));
    }
    restoredSection << key << "=" << button.name << "," << smallFile << "," << rectFields(small) << ",0\n";
  }

  std::ostringstream ini;
  ini << "[" << skin.buttonSection << "]\n" << fullSection.str() << "\n";
  ini << "[" << skin.minButtonSection << "]\n" << restoredSection.str() << "\n";
  ini << "[" << skin.backgroundSection << "]\n1=" << skin.backgroundMax << "\n2=" << skin.backgroundMin << "\n";
  if (!skin.labels.empty()) ini << "\n[" << skin.labelSection << "]\n" << writeLabels(skin, folder);
  if (skin.radios) ini << "\n[" << skin.radios->section << "]\n" << writeRadios(*skin.radios, folder);
  ini << writeLists(skin) << writeLatches(skin, full, folder);
  if (!skin.radioButtons.empty()) ini << "\n[" << skin.radioSection << "]\n" << writeRadioButtons(skin, full, folder);
  if (!skin.edits.empty()) ini << "\n[" << skin.editSection << "]\n" << writeEdits(skin);
  if (skin.flash) {
    const Flash& flash = *skin.flash;
    ini << "\n[" << flash.section << "]\n" << flash.key << "=";
    const Rgb colour{static_cast<std::uint8_t>(flash.red), static_cast<std::uint8_t>(flash.green),
                     static_cast<std::uint8_t>(flash.blue)};
    for (const Movie& movie : skin.movies) {
      ini << movie.file << ",";
      writeWholeFile(folder / movie.file, encodeMovie(flash.rect.width(), flash.rect.height(), colour, movie.caption));
    }
    ini << rectFields(flash.rect) << "," << flash.red << "," << flash.green << "," << flash.blue << "\n";
  }
  writeWholeFile(folder / "skin.ini", ini.str());
}

// "NAME,picture,left,top,right,bottom,TEXT" per key, each picture at its label's size.
std::string SkinWriter::writeLabels(const WindowSkin& skin, const std::filesystem::path& folder) {
  std::ostringstream section;
  for (std::size_t i = 0; i < skin.labels.size(); ++i) {
    const WindowLabel& label = skin.labels[i];
    const std::string file = "label_" + lower(label.name) + ".bmp";
    writeWholeFile(folder / file, encodeBitmap(skin.darkLabels ? drawDarkLabelPanel(label.rect.width(), label.rect.height())
                                                                  : drawLabelPanel(label.rect.width(), label.rect.height())));
    section << i + 1 << "=" << label.name << "," << file << "," << rectFields(label.rect) << "," << label.text << "\n";
  }
  return section.str();
}

// "picture1,rect1,picture2,rect2"; both pictures are cut at the first rectangle's size.
std::string SkinWriter::writeRadios(const RadioPair& radios, const std::filesystem::path& folder) {
  const Rect& size = radios.rects[0];
  std::ostringstream value;
  value << radios.key << "=";
  for (int i = 0; i < 2; ++i) {
    const std::string file = "radio" + std::to_string(i + 1) + ".bmp";
    writeWholeFile(folder / file, encodeBitmap(drawRadioPicture(size.width(), size.height(), radios.captions[i], m_text)));
    value << (i ? "," : "") << file << "," << rectFields(radios.rects[i]);
  }
  value << "\n";
  return value.str();
}

// "left,top,right,bottom" and the flag when it has one, keyed from "1" in each section.
std::string SkinWriter::writeLists(const WindowSkin& skin) {
  std::ostringstream out;
  std::string section;
  int key = 0;
  for (const ListPlace& list : skin.lists) {
    if (list.section != section) {
      section = list.section;
      key = 0;
      out << "\n[" << section << "]\n";
    }
    out << ++key << "=" << rectFields(list.rect);
    if (list.flag) out << "," << flag(*list.flag);
    out << "\n";
  }
  return out.str();
}

// Latching buttons in the buttons' entry format, keyed from "1" in each section; they keep
// the full-screen design space in both layouts.
std::string SkinWriter::writeLatches(const WindowSkin& skin, const Canvas& background,
                                     const std::filesystem::path& folder) {
  std::ostringstream out;
  std::string section;
  int key = 0;
  for (const LatchButton& latch : skin.latches) {
    if (latch.section != section) {
      section = latch.section;
      key = 0;
      out << "\n[" << section << "]\n";
    }
    const WindowButton& button = latch.button;
    const std::string file = lower(button.name) + ".bmp";
    writeWholeFile(folder / file, encodeBitmap(drawLatchStrip(button, background, m_text)));
    out << ++key << "=" << button.name << "," << file << "," << rectFields(button.rect) << ",0\n";
  }
  return out.str();
}

std::string SkinWriter::writeRadioButtons(const WindowSkin& skin, const Canvas& background,
                                          const std::filesystem::path& folder) {
  std::ostringstream section;
  for (std::size_t i = 0; i < skin.radioButtons.size(); ++i) {
    const WindowRadio& radio = skin.radioButtons[i];
    const std::string file = "radio" + std::to_string(radio.value) + ".bmp";
    writeWholeFile(folder / file, encodeBitmap(drawRadioPicture(background, radio.rect, radio.caption, m_text)));
    section << i + 1 << "=" << radio.caption << "," << file << "," << radio.value << "," << rectFields(radio.rect) << "\n";
  }
  return section.str();
}

std::string SkinWriter::writeEdits(const WindowSkin& skin) {
  std::ostringstream section;
  for (std::size_t i = 0; i < skin.edits.size(); ++i)
    section << i + 1 << "=" << skin.edits[i].name << "," << rectFields(skin.edits[i].rect) << "\n";
  return section.str();
}

void SkinWriter::writeBar(const BarSkin& bar) {
  const std::filesystem::path folder = folderOf(bar.folder);
  const BarPictures pictures = drawBar(bar, m_text);
  writeWholeFile(folder / bar.normal, encodeBitmap(pictures.normal));
  writeWholeFile(folder / bar.mask, encodeBitmap(pictures.mask));
  writeWholeFile(folder / bar.hovered, encodeBitmap(pictures.hovered));
  writeWholeFile(folder / bar.pressed, encodeBitmap(pictures.pressed));
  writeWholeFile(folder / bar.disabled, encodeBitmap(pictures.disabled));

  std::ostringstream ini;
  ini << "[ShapeWindowInfo]\nNormal=" << bar.normal << "\nMask=" << bar.mask << "\nHovered=" << bar.hovered
      << "\nPressed=" << bar.pressed << "\nDisabled=" << bar.disabled << "\n\n[ShapeButtonInfo]\n";
  // Buttons: name, rectangle, tooltip, no cursor of their own, shaped by the mask's colour.
  for (std::size_t i = 0; i < bar.buttons.size(); ++i) {
    const BarControl& b = bar.buttons[i];
    ini << "Button" << i + 1 << "=" << b.name << "," << rectFields(b.rect) << "," << b.tooltip << "," << flag(false)
        << "," << flag(true) << "," << hitColour() << "\n";
  }
  ini << "\n[ShapeProgressInfo]\n";
  for (std::size_t i = 0; i < bar.progressBars.size(); ++i) {
    const BarControl& p = bar.progressBars[i];
    ini << "Progress" << i + 1 << "=" << p.name << "," << p.tooltip << "," << rectFields(p.rect) << "," << p.orientation
        << "," << flag(false) << "," << flag(true) << "," << hitColour() << "\n";
  }
  writeWholeFile(folder / "skin.ini", ini.str());
}

// The frame picture and its parts, keyed out in magenta, the bar's buttons and the colours
// of the window's owner-drawn menu ("COLORTHEME", red, green, blue).
void SkinWriter::writeFramed(const FramedSkin& skin) {
  const std::filesystem::path folder = folderOf(skin.folder);
  writeWholeFile(folder / "frame.bmp", encodeBitmap(drawFramePicture()));
  std::ostringstream ini;
  ini << "[DialogResInfo]\nFrameImage=frame.bmp\n" << framePartLines(0) << framePartLines(1)
      << "ShapeWindow=1\nSkinClient=0\nMaskColor=" << int(theme::kMagenta.r) << "," << int(theme::kMagenta.g) << ","
      << int(theme::kMagenta.b) << "\n\n[ShapeButtonInfo]\n";
  for (std::size_t i = 0; i < skin.buttons.size(); ++i) {
    const WindowButton& button = skin.buttons[i];
    const std::string file = lower(button.name) + ".bmp";
    writeWholeFile(folder / file, encodeBitmap(drawFrameButtonStrip(button, m_text)));
    ini << i + 1 << "=" << button.name << "," << file << "," << rectFields(button.rect) << ",0\n";
  }
  ini << "\n[COLORTHEME]\nLogoImage=\nBackGrndBmp=\nLogoText=Orvane Media\nLogoTextEndColor=73,191,208\n"
      << "MenuColor=27,37,49\nIconBarColor=19,27,36\nLightBarColor=73,191,208\nLightBarStartColor=47,80,104\n"
      << "LightBarEndColor=37,64,86\nTextColor=230,237,243\nHighLightColor=255,255,255\nFrame0Color=54,72,92\n"
      << "Frame1Color=38,52,68\nFrame2Color=27,37,49\nFrame3Color=11,16,22\n";
  writeWholeFile(folder / "skin.ini", ini.str());
}

void SkinWriter::writeResources(const Description& description, const std::filesystem::path& rcFile) {
  const std::filesystem::path folder = rcFile.parent_path();
  std::ostringstream rc;
  rc << "# The program's bitmaps and icons, drawn by the build from resources/DefaultSkins.def.\n";
  for (const PictureResource& bitmap : description.bitmaps) {
    const std::string file = "bitmap" + std::to_string(bitmap.id) + ".bmp";
    writeWholeFile(folder / file, encodeBitmap(drawResourceBitmap(bitmap, m_text)));
    rc << "bitmap " << bitmap.id << " \"" << file << "\"\n";
  }
  for (const PictureResource& icon : description.icons) {
    const std::string file = "icon" + std::to_string(icon.id) + ".ico";
    writeWholeFile(folder / file, drawResourceIcon(icon));
    rc << "icon " << icon.id << " \"" << file << "\"\n";
  }
  writeWholeFile(rcFile, rc.str());
}

}  // namespace skingen
