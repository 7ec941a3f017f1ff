// The one palette every picture is drawn from: deep slate blues, light grey text and a
// calm teal accent; red only for recording and closing.
#pragma once

#include "Colour.h"

namespace skingen::theme {

inline constexpr Rgb kBackgroundTop{24, 33, 44};
inline constexpr Rgb kBackgroundBottom{11, 16, 22};
inline constexpr Rgb kCaptionTop{30, 41, 54};
inline constexpr Rgb kCaptionBottom{23, 32, 43};
inline constexpr Rgb kHairline{44, 60, 78};
inline constexpr Rgb kPanel{19, 27, 36};
inline constexpr Rgb kPanelBorder{38, 52, 68};
inline constexpr Rgb kVideoBlack{0, 0, 0};

inline constexpr Rgb kText{230, 237, 243};
inline constexpr Rgb kTextSoft{140, 155, 170};
inline constexpr Rgb kTextFaint{92, 106, 120};

inline constexpr Rgb kAccent{73, 191, 208};
inline constexpr Rgb kAccentDeep{42, 142, 158};
inline constexpr Rgb kAccentLight{140, 221, 232};
inline constexpr Rgb kRecord{226, 86, 91};

// Readouts: light faces for the labels' and the combo box's dark (black or blue) texts.
inline constexpr Rgb kReadoutTop{226, 238, 242};
inline constexpr Rgb kReadoutBottom{196, 218, 226};
inline constexpr Rgb kReadoutRim{92, 132, 148};
// A chosen entry among readouts: a pale accent, still light under blue text.
inline constexpr Rgb kChosenTop{196, 232, 240};
inline constexpr Rgb kChosenBottom{160, 212, 226};
inline constexpr Rgb kCloseHover{184, 67, 74};

// Key colours of masks and transparent pictures.
inline constexpr Rgb kMagenta{255, 0, 255};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

// A button in each of its four states: face gradient, rim, text and icon colour.
struct StateLook {
  Rgb faceTop, faceBottom, rim, ink;
};

inline constexpr StateLook kNormal{{40, 54, 71}, {31, 42, 56}, {54, 72, 92}, {216, 226, 236}};
inline constexpr StateLook kHover{{47, 80, 104}, {37, 64, 86}, {73, 191, 208}, {255, 255, 255}};
inline constexpr StateLook kPressed{{24, 38, 51}, {30, 48, 64}, {42, 142, 158}, {140, 221, 232}};
inline constexpr StateLook kDisabled{{28, 35, 43}, {25, 31, 39}, {40, 48, 57}, {84, 96, 108}};

}  // namespace skingen::theme
