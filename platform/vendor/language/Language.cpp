#include <vendor/language/Language.h>

#include <machine/Machine.h>

namespace {

struct Text {
  int id;
  const char* text;
};

// Traditional Chinese, whose texts read right on the default machine's code page (950).
constexpr int kDefaultLanguage = 3;

// Message-box texts and captions.
constexpr Text kMessages[] = {
    {0, "The computer could not be shut down."},               // shutdown request refused
    {1, "The picture could not be saved."},                    // picture browser save failed
    {2, "This schedule overlaps an existing schedule."},       // schedule clash
    {3, "Orvane Media"},                                       // caption: delete, picture save
    {4, "Error"},                                              // caption; also drive listing failed
    {5, "The computer will shut down when the recording ends."},  // PC shut-down chosen
    // stand-by after recording refused: the next schedule starts too soon
    {6, "Stand-by is not possible: another schedule starts within 9 minutes after this one ends."},
    {7, "There is no clip in the project to save."},           // video editor, empty project
    {8, "The video could not be saved."},                      // video editor save failed
    {9, "The video has been saved."},                          // video editor save done
    {10, "Delete the selected file from the disk?"},           // thumbnail list delete (OK/Cancel)
    {11, "The skin could not be loaded."},                     // control bar skin missing
    {12, "Orvane Media is already running."},                  // second instance
    {13, "Please enter a valid number."},                      // numeric edit refused its text
    {14, "The TV device or a video filter could not be started."},  // filter or device missing
    // preview build stopped: no audio capture device listed
    {15, "The preview could not be started: no audio input device was found."},
    {16, "The live picture could not be started. Please check the TV device."},  // no preview
};

// Combo-box entries and the schedule texts built from them.
constexpr Text kComboItems[] = {
    {0, "Antenna"},    // tuner source 1
    {1, "Cable"},      // tuner source 2
    {2, "Record"},     // schedule mode
    {3, "View"},       // schedule mode
    {4, "Once"},       // recurrence
    {5, "Daily"},      // recurrence
    {6, "Weekly"},     // recurrence
    {7, "Monday"},     // weekday names, Monday..Saturday then Sunday
    {8, "Tuesday"},
    {9, "Wednesday"},
    {10, "Thursday"},
    {11, "Friday"},
    {12, "Saturday"},
    {13, "Sunday"},
    {14, "Every day"},  // day name of a daily entry
};

// Other texts.
constexpr Text kOtherTexts[] = {
    {0, "My Computer"},  // record folder browser: the drive list
    {1, "Recording"},    // status drawn over the live picture while recording
};

// Context menu of the thumbnail lists.
constexpr Text kMenuItems[] = {
    {1, "Play"},           // play (player list) or open (picture list) the item
    {2, "Delete"},         // delete the item and its file, after confirmation
    {3, "Clear List"},     // empty the list, files stay
    {4, "Add File..."},    // add a media file
    {5, "Add Folder..."},  // add every video file of a folder
    {6, "Properties"},  // entry with no action bound
};

// Context menu of the free-standing video window.
constexpr Text kVideoMenuItems[] = {
    {1, "Channel Up"},       // next higher channel
    {2, "Channel Down"},     // next lower channel
    {3, "Retune Channel"},   // tune the current channel again
    {4, "Input"},            // popup: input source
    {5, "TV Tuner"},
    {6, "Composite"},
    {8, "Aspect Ratio"},     // popup: picture shape
    {9, "16:9"},
    {10, "4:3"},
    {21, "Free"},            // no fixed shape
    {16, "Video Standard"},  // popup: standard of the AV input
    {17, "NTSC(n3.58)"},
    {18, "NTSC(n4.33)"},
    {19, "PAL"},
    {20, "SECAM"},
    {22, "Always on Top"},   // toggle
    {23, "Exit"},            // close the program
};

// Record plan details. The callers format these with printf, so each conversion must
// match its argument: 16 and 17 take the channel (int); 20 takes mode, year (int), then
// strings for month, day, hour, minute, seconds, source, duration minutes and seconds,
// kind; 21 takes mode, day name, hour, minute, seconds, source, minutes, seconds, kind,
// all strings.
constexpr Text kRecordTexts[] = {
    {16, "Antenna channel %d"},  // source 0
    {17, "Cable channel %d"},    // source 1
    {18, "Record"},              // mode 1
    {19, "View"},                // mode 0
    {20, "%s: %d-%s-%s %s:%s:%s\n%s\n%s min %s s, %s"},  // once entry, three lines
    {21, "%s: %s %s:%s:%s\n%s\n%s min %s s, %s"},        // daily or weekly entry, three lines
};

// Recording options dialog: title and control captions.
constexpr Text kWindowTexts[] = {
    {1, "Select parameter"},  // window title
    {2, "Save Type:"},                                      // label of the type radios
    {3, "Save Path:"},                                      // label of the output path
    {4, "Video compression format select(Only one AVI)"},  // label of the video compressors
    {5, "Audio compression format select(Only one AVI)"},  // label of the audio compressors
    {6, "Browse"},                                          // save-as button
    {7, "Video Compression"},                               // use a video compressor
    {8, "Audio Compression"},                               // use an audio compressor
    {9, "OK"},
    {10, "Cancel"},
};

template <std::size_t N>
const char* lookup(const Text (&table)[N], int id) {
  for (const Text& entry : table) {
    if (entry.id == id) return entry.text;
  }
  return "";
}

}  // namespace

extern "C" {

const char* GetMessageInfo(int id) { return lookup(kMessages, id); }
const char* GetComBoxItem(int id) { return lookup(kComboItems, id); }
const char* GetOtherInfo(int id) { return lookup(kOtherTexts, id); }
const char* GetMenuItem(int id) { return lookup(kMenuItems, id); }
const char* GetMenuItem_SINGLE(int id) { return lookup(kVideoMenuItems, id); }
const char* GetRecordShowItem(int id) { return lookup(kRecordTexts, id); }
const char* GetWindowCommenItem(int id) { return lookup(kWindowTexts, id); }

int GetLanguage() {
  // Opening the machine may allocate; nothing may escape a C export.
  try {
    return plat::Machine::current().ini().intValue("Windows", "Language", kDefaultLanguage);
  } catch (...) {
    return kDefaultLanguage;
  }
}

}  // extern "C"
