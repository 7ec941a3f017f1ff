#include <win32/user/SystemMetrics.h>

#include <machine/IniDocument.h>
#include <win32/user/metrics.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace plat {

namespace {

struct Named {
  const char* name;
  int index;
  int value;
};

// Classic Windows XP at 96 dpi; the screen-dependent ones are filled in from the screen.
const std::vector<Named>& defaultMetrics() {
  static const std::vector<Named> metrics = {
      {"SM_CXVSCROLL", SM_CXVSCROLL, 16},   {"SM_CYHSCROLL", SM_CYHSCROLL, 16},
      {"SM_CYCAPTION", SM_CYCAPTION, 19},   {"SM_CXBORDER", SM_CXBORDER, 1},
      {"SM_CYBORDER", SM_CYBORDER, 1},      {"SM_CXDLGFRAME", SM_CXDLGFRAME, 3},
      {"SM_CYDLGFRAME", SM_CYDLGFRAME, 3},  {"SM_CYVTHUMB", SM_CYVTHUMB, 16},
      {"SM_CXHTHUMB", SM_CXHTHUMB, 16},     {"SM_CXICON", SM_CXICON, 32},
      {"SM_CYICON", SM_CYICON, 32},         {"SM_CXCURSOR", SM_CXCURSOR, 32},
      {"SM_CYCURSOR", SM_CYCURSOR, 32},     {"SM_CYMENU", SM_CYMENU, 19},
      {"SM_MOUSEPRESENT", SM_MOUSEPRESENT, 1}, {"SM_CYVSCROLL", SM_CYVSCROLL, 16},
      {"SM_CXHSCROLL", SM_CXHSCROLL, 16},   {"SM_SWAPBUTTON", SM_SWAPBUTTON, 0},
      {"SM_CXMIN", SM_CXMIN, 112},          {"SM_CYMIN", SM_CYMIN, 27},
      {"SM_CXSIZE", SM_CXSIZE, 18},         {"SM_CYSIZE", SM_CYSIZE, 18},
      {"SM_CXFRAME", SM_CXFRAME, 4},        {"SM_CYFRAME", SM_CYFRAME, 4},
      {"SM_CXMINTRACK", SM_CXMINTRACK, 112}, {"SM_CYMINTRACK", SM_CYMINTRACK, 27},
      {"SM_CXDOUBLECLK", SM_CXDOUBLECLK, 4}, {"SM_CYDOUBLECLK", SM_CYDOUBLECLK, 4},
      {"SM_CXICONSPACING", SM_CXICONSPACING, 75}, {"SM_CYICONSPACING", SM_CYICONSPACING, 75},
      {"SM_CMOUSEBUTTONS", SM_CMOUSEBUTTONS, 3}, {"SM_CXEDGE", SM_CXEDGE, 2},
      {"SM_CYEDGE", SM_CYEDGE, 2},          {"SM_CXSMICON", SM_CXSMICON, 16},
      {"SM_CYSMICON", SM_CYSMICON, 16},     {"SM_CYSMCAPTION", SM_CYSMCAPTION, 16},
      {"SM_CXSMSIZE", SM_CXSMSIZE, 12},     {"SM_CYSMSIZE", SM_CYSMSIZE, 15},
      {"SM_CXMENUSIZE", SM_CXMENUSIZE, 18}, {"SM_CYMENUSIZE", SM_CYMENUSIZE, 18},
      {"SM_CXMINIMIZED", SM_CXMINIMIZED, 160}, {"SM_CYMINIMIZED", SM_CYMINIMIZED, 24},
      {"SM_CXMENUCHECK", SM_CXMENUCHECK, 13}, {"SM_CYMENUCHECK", SM_CYMENUCHECK, 13},
      {"SM_CMONITORS", SM_CMONITORS, 1},
  };
  return metrics;
}

const std::vector<Named>& defaultColors() {
  static const std::vector<Named> colors = {
      {"COLOR_SCROLLBAR", COLOR_SCROLLBAR, RGB(212, 208, 200)},
      {"COLOR_BACKGROUND", COLOR_BACKGROUND, RGB(0, 78, 152)},
      {"COLOR_ACTIVECAPTION", COLOR_ACTIVECAPTION, RGB(0, 84, 227)},
      {"COLOR_INACTIVECAPTION", COLOR_INACTIVECAPTION, RGB(122, 150, 223)},
      {"COLOR_MENU", COLOR_MENU, RGB(255, 255, 255)},
      {"COLOR_WINDOW", COLOR_WINDOW, RGB(255, 255, 255)},
      {"COLOR_WINDOWFRAME", COLOR_WINDOWFRAME, RGB(0, 0, 0)},
      {"COLOR_MENUTEXT", COLOR_MENUTEXT, RGB(0, 0, 0)},
      {"COLOR_WINDOWTEXT", COLOR_WINDOWTEXT, RGB(0, 0, 0)},
      {"COLOR_CAPTIONTEXT", COLOR_CAPTIONTEXT, RGB(255, 255, 255)},
      {"COLOR_ACTIVEBORDER", COLOR_ACTIVEBORDER, RGB(212, 208, 200)},
      {"COLOR_INACTIVEBORDER", COLOR_INACTIVEBORDER, RGB(212, 208, 200)},
      {"COLOR_APPWORKSPACE", COLOR_APPWORKSPACE, RGB(128, 128, 128)},
      {"COLOR_HIGHLIGHT", COLOR_HIGHLIGHT, RGB(49, 106, 197)},
      {"COLOR_HIGHLIGHTTEXT", COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
      {"COLOR_BTNFACE", COLOR_BTNFACE, RGB(236, 233, 216)},
      {"COLOR_BTNSHADOW", COLOR_BTNSHADOW, RGB(172, 168, 153)},
      {"COLOR_GRAYTEXT", COLOR_GRAYTEXT, RGB(172, 168, 153)},
      {"COLOR_BTNTEXT", COLOR_BTNTEXT, RGB(0, 0, 0)},
      {"COLOR_INACTIVECAPTIONTEXT", COLOR_INACTIVECAPTIONTEXT, RGB(216, 228, 248)},
      {"COLOR_BTNHIGHLIGHT", COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
      {"COLOR_3DDKSHADOW", COLOR_3DDKSHADOW, RGB(113, 111, 100)},
      {"COLOR_3DLIGHT", COLOR_3DLIGHT, RGB(241, 239, 226)},
      {"COLOR_INFOTEXT", COLOR_INFOTEXT, RGB(0, 0, 0)},
      {"COLOR_INFOBK", COLOR_INFOBK, RGB(255, 255, 225)},
      {"COLOR_HOTLIGHT", COLOR_HOTLIGHT, RGB(0, 0, 128)},
      {"COLOR_GRADIENTACTIVECAPTION", COLOR_GRADIENTACTIVECAPTION, RGB(61, 149, 255)},
      {"COLOR_GRADIENTINACTIVECAPTION", COLOR_GRADIENTINACTIVECAPTION, RGB(157, 185, 235)},
      {"COLOR_MENUHILIGHT", COLOR_MENUHILIGHT, RGB(49, 106, 197)},
      {"COLOR_MENUBAR", COLOR_MENUBAR, RGB(236, 233, 216)},
  };
  return colors;
}

std::vector<int> numbers(const std::string& text) {
  std::istringstream in(text);
  std::vector<int> values;
  for (int v; in >> v;) values.push_back(v);
  return values;
}

}  // namespace

SystemMetrics::SystemMetrics(const IniDocument& ini) {
  const int width = ini.intValue("Screen", "Width", 1024);
  const int height = ini.intValue("Screen", "Height", 768);
  constexpr int kTaskbarHeight = 30;
  m_workArea = RECT{0, 0, width, height - kTaskbarHeight};
  if (const auto area = ini.value("Screen", "WorkArea")) {
    if (const auto v = numbers(*area); v.size() == 4) m_workArea = RECT{v[0], v[1], v[2], v[3]};
  }
  m_dropShadow = ini.intValue("Desktop", "DropShadow", 1) != 0;

  for (const Named& m : defaultMetrics()) m_metrics[m.index] = ini.intValue("Metrics", m.name, m.value);
  const int frame = m_metrics[SM_CXFRAME];
  const int workWidth = m_workArea.right - m_workArea.left;
  const int workHeight = m_workArea.bottom - m_workArea.top;
  m_metrics[SM_CXSCREEN] = m_metrics[SM_CXVIRTUALSCREEN] = width;
  m_metrics[SM_CYSCREEN] = m_metrics[SM_CYVIRTUALSCREEN] = height;
  m_metrics[SM_CXFULLSCREEN] = workWidth;
  m_metrics[SM_CYFULLSCREEN] = workHeight - m_metrics[SM_CYCAPTION];
  m_metrics[SM_CXMAXIMIZED] = workWidth + 2 * frame;
  m_metrics[SM_CYMAXIMIZED] = workHeight + 2 * frame;
  m_metrics[SM_CXMAXTRACK] = width + 2 * frame + 4;
  m_metrics[SM_CYMAXTRACK] = height + 2 * frame + 4;

  for (const Named& c : defaultColors()) {
    m_colors[c.index] = static_cast<COLORREF>(c.value);
    if (const auto v = numbers(ini.valueOr("Colors", c.name, "")); v.size() == 3)
      m_colors[c.index] = RGB(v[0], v[1], v[2]);
  }
}

int SystemMetrics::metric(int index) const {
  const auto it = m_metrics.find(index);
  return it == m_metrics.end() ? 0 : it->second;
}

COLORREF SystemMetrics::color(int index) const {
  const auto it = m_colors.find(index);
  return it == m_colors.end() ? 0 : it->second;
}

}  // namespace plat
