#include "Description.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace skingen {

namespace {

// One line cut into words; a word in double quotes may hold blanks (no escapes).
std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
    } else if (line[i] == '#') {
      break;
    } else if (line[i] == '"') {
      const std::size_t end = line.find('"', i + 1);
      if (end == std::string::npos) throw std::runtime_error("unterminated text");
      out.push_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      const std::size_t end = line.find_first_of(" \t\r", i);
      out.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
      i = end == std::string::npos ? line.size() : end;
    }
  }
  return out;
}

class Line {
 public:
  explicit Line(std::vector<std::string> words) : m_words(std::move(words)) {}

  const std::string& keyword() const { return m_words[0]; }
  void expect(std::size_t count) const {
    if (m_words.size() != count + 1)
      throw std::runtime_error("'" + keyword() + "' takes " + std::to_string(count) + " values");
  }
  const std::string& text(std::size_t i) const { return m_words.at(i + 1); }
  std::size_t values() const { return m_words.size() - 1; }
  int number(std::size_t i) const {
    std::size_t used = 0;
    const int value = std::stoi(text(i), &used);
    if (used != text(i).size()) throw std::runtime_error("'" + text(i) + "' is not a number");
    return value;
  }
  Rect rect(std::size_t i) const {
    const Rect r{number(i), number(i + 1), number(i + 2), number(i + 3)};
    if (r.width() <= 0 || r.height() <= 0) throw std::runtime_error("empty rectangle");
    return r;
  }

 private:
  std::vector<std::string> m_words;
};

// The entries of one kind share their section.
void sameSection(std::string& section, const std::string& named) {
  if (!section.empty() && section != named) throw std::runtime_error("a second section '" + named + "'");
  section = named;
}

void readWindowLine(const Line& line, WindowSkin& skin) {
  const std::string& k = line.keyword();
  if (k == "buttons") {
    line.expect(2);
    skin.buttonSection = line.text(0);
    skin.minButtonSection = line.text(1);
  } else if (k == "background") {
    line.expect(3);
    skin.backgroundSection = line.text(0);
    skin.backgroundMax = line.text(1);
    skin.backgroundMin = line.text(2);
  } else if (k == "frame") {
    line.expect(4);
    skin.frames.push_back(line.rect(0));
  } else if (k == "button") {
    line.expect(8);
    skin.buttons.push_back({line.text(0), line.text(1), line.text(2), line.text(3), line.rect(4)});
  } else if (k == "flash") {
    line.expect(9);
    skin.flash = Flash{line.text(0), line.text(1), line.rect(2), line.number(6), line.number(7), line.number(8)};
  } else if (k == "movie") {
    line.expect(2);
    skin.movies.push_back({line.text(0), line.text(1)});
  } else if (k == "fixed") {
    line.expect(1);
    if (line.number(0) < 0) throw std::runtime_error("a negative count");
    skin.fixedButtons = static_cast<std::size_t>(line.number(0));
  } else if (k == "labels") {
    line.expect(1);
    skin.labelSection = line.text(0);
  } else if (k == "label") {
    line.expect(6);
    if (skin.labelSection.empty()) throw std::runtime_error("'label' before 'labels'");
    skin.labels.push_back({line.text(0), line.text(1), line.rect(2)});
  } else if (k == "radios") {
    line.expect(12);
    skin.radios = RadioPair{line.text(0), line.text(1), {line.text(2), line.text(7)}, {line.rect(3), line.rect(8)}};
  } else if (k == "caption") {
    line.expect(5);
    skin.captions.push_back({line.text(0), line.rect(1)});
  } else if (k == "list") {
    if (line.values() != 5 && line.values() != 6) throw std::runtime_error("'list' takes 5 or 6 values");
    std::optional<bool> flag;
    if (line.values() == 6) {
      if (line.text(5) != "TRUE" && line.text(5) != "FALSE") throw std::runtime_error("the flag is TRUE or FALSE");
      flag = line.text(5) == "TRUE";
    }
    skin.lists.push_back({line.text(0), line.rect(1), flag});
  } else if (k == "panel") {
    line.expect(4);
    skin.panels.push_back(line.rect(0));
  } else if (k == "darklabels") {
    line.expect(0);
    skin.darkLabels = true;
  } else if (k == "latch") {
    line.expect(8);
    skin.latches.push_back({line.text(0), {line.text(1), "side", line.text(2), line.text(3), line.rect(4)}});
  } else if (k == "radio") {
    line.expect(7);
    sameSection(skin.radioSection, line.text(0));
    skin.radioButtons.push_back({line.number(1), line.text(2), line.rect(3)});
  } else if (k == "edit") {
    line.expect(6);
    sameSection(skin.editSection, line.text(0));
    skin.edits.push_back({line.text(1), line.rect(2)});
  } else {
    throw std::runtime_error("unknown window entry '" + k + "'");
  }
}

void readBarLine(const Line& line, BarSkin& bar) {
  const std::string& k = line.keyword();
  if (k == "images") {
    line.expect(5);
    bar.normal = line.text(0);
    bar.mask = line.text(1);
    bar.hovered = line.text(2);
    bar.pressed = line.text(3);
    bar.disabled = line.text(4);
  } else if (k == "button") {
    line.expect(7);
    bar.buttons.push_back({line.text(0), line.text(1), line.text(2), line.rect(3), ""});
  } else if (k == "progress") {
    line.expect(7);
    bar.progressBars.push_back({line.text(0), "", line.text(1), line.rect(2), line.text(6)});
  } else if (k == "well") {
    line.expect(5);
    bar.wells.push_back({line.rect(0), line.text(4)});
  } else {
    throw std::runtime_error("unknown bar entry '" + k + "'");
  }
}

void readFramedLine(const Line& line, FramedSkin& skin) {
  if (line.keyword() != "button") throw std::runtime_error("unknown frame entry '" + line.keyword() + "'");
  line.expect(7);
  skin.buttons.push_back({line.text(0), "caption", line.text(1), line.text(2), line.rect(3)});
}

}  // namespace

Description readDescription(const std::filesystem::path& file) {
  std::ifstream in(file);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  Description description;
  WindowSkin* window = nullptr;
  BarSkin* bar = nullptr;
  FramedSkin* framed = nullptr;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    try {
      std::vector<std::string> w = words(text);
      if (w.empty()) continue;
      const Line line(std::move(w));
      const std::string& k = line.keyword();
      if (k == "end") {
        if (!window && !bar && !framed) throw std::runtime_error("'end' outside a skin");
        window = nullptr;
        bar = nullptr;
        framed = nullptr;
      } else if (framed) {
        readFramedLine(line, *framed);
      } else if (window) {
        readWindowLine(line, *window);
      } else if (bar) {
        readBarLine(line, *bar);
      } else if (k == "window") {
        line.expect(3);
        description.windows.push_back({});
        window = &description.windows.back();
        window->kind = line.text(0);
        window->folder = line.text(1);
        window->title = line.text(2);
      } else if (k == "bar") {
        line.expect(3);
        description.bars.push_back({});
        bar = &description.bars.back();
        bar->folder = line.text(0);
        bar->width = line.number(1);
        bar->height = line.number(2);
      } else if (k == "frame") {
        line.expect(1);
        description.framedWindows.push_back({line.text(0), {}});
        framed = &description.framedWindows.back();
      } else if (k == "bitmap") {
        line.expect(4);
        description.bitmaps.push_back({line.number(0), line.text(1), line.number(2), line.number(3)});
      } else if (k == "icon") {
        line.expect(2);
        description.icons.push_back({line.number(0), line.text(1), 0, 0});
      } else {
        throw std::runtime_error("unknown entry '" + k + "'");
      }
    } catch (const std::exception& e) {
      throw std::runtime_error(file.string() + ":" + std::to_string(number) + ": " + e.what());
    }
  }
  if (window || bar || framed) throw std::runtime_error(file.string() + ": a skin lacks its 'end'");
  return description;
}

}  // namespace skingen
