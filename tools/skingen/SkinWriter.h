// Writes what the description names: each skin folder under the program folder (its
// skin.ini, backgrounds, button strips, animations, the control bar's pictures) and the
// program's bitmap and icon files with the resource file that lists them.
#pragma once

#include "Canvas.h"
#include "Description.h"
#include "TextPainter.h"

#include <filesystem>

namespace skingen {

class SkinWriter {
 public:
  SkinWriter(std::filesystem::path programFolder, TextPainter& text)
      : m_programFolder(std::move(programFolder)), m_text(text) {}

  void writeWindow(const WindowSkin& skin);
  void writeBar(const BarSkin& bar);
  void writeFramed(const FramedSkin& skin);
  // The pictures go beside `rcFile`, which names them for the resource compiler.
  void writeResources(const Description& description, const std::filesystem::path& rcFile);

  // The restored layout's rectangle of a window button: the first `fixed` keep the
  // full-screen numbers, the others take the same place in the 800 × 600 space.
  static Rect restoredRect(const Rect& rect, std::size_t index, std::size_t fixed);

 private:
  std::filesystem::path folderOf(const std::string& windowsFolder) const;
  // The label section and its readout pictures; the radio key and its two pictures.
  std::string writeLabels(const WindowSkin& skin, const std::filesystem::path& folder);
  std::string writeRadios(const RadioPair& radios, const std::filesystem::path& folder);
  // The sections of a window's lists and latching buttons, in the order given, each
  // keyed from "1"; the buttons' pictures written into `folder`.
  static std::string writeLists(const WindowSkin& skin);
  std::string writeLatches(const WindowSkin& skin, const Canvas& background, const std::filesystem::path& folder);
  // One key per radio button with its picture; one key per numeric edit.
  std::string writeRadioButtons(const WindowSkin& skin, const Canvas& background, const std::filesystem::path& folder);
  static std::string writeEdits(const WindowSkin& skin);

  std::filesystem::path m_programFolder;
  TextPainter& m_text;
};

}  // namespace skingen
