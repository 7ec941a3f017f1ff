// The makers' UI-text library ("Language.dll"): the texts the program shows in message
// boxes, combo boxes, menus, window captions and labels, fetched by number.
//
// Plain C exports. Each text function takes an id and returns a zero-terminated ANSI
// text in static storage owned by the library: callers use it at once and never free
// it. Every id, known or not (negative ones too), gives a valid text, "" when the
// library has none. Some texts are printf formats; their conversions are fixed (see the
// recording-window texts in the source).
//
// The stand-in holds English texts only. GetLanguage reports the installed language
// code, [Windows] Language of machine.ini (3 when absent or not a number).
#pragma once

extern "C" {

const char* GetMessageInfo(int id);
const char* GetComBoxItem(int id);
const char* GetOtherInfo(int id);
const char* GetMenuItem(int id);
const char* GetMenuItem_SINGLE(int id);
const char* GetRecordShowItem(int id);
const char* GetWindowCommenItem(int id);
int GetLanguage();

}  // extern "C"
