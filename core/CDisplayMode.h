// Which screen the user now sees: 105 the launcher, 110 the TV window, 115 the media
// player … Each window sets it when it opens; remote keys and timers are routed by it.
// One process-wide object, created by the launcher; used on the user-interface thread only.
#pragma once

class CDisplayMode {
 public:
  CDisplayMode() = default;
  virtual ~CDisplayMode() = default;

  int GetMode() const { return m_mode; }
  // Stores a mode greater than 0; returns the argument either way.
  int SetMode(int mode);

  int Is105() const { return m_mode == 105; }
  int Is110() const { return m_mode == 110; }
  int Is115() const { return m_mode == 115; }
  int Is120() const { return m_mode == 120; }
  int Is125() const { return m_mode == 125; }
  int Is135() const { return m_mode == 135; }
  int Is145() const { return m_mode == 145; }
  int Is155() const { return m_mode == 155; }
  int Is165() const { return m_mode == 165; }
  int Is175() const { return m_mode == 175; }
  int Is185() const { return m_mode == 185; }
  int Is195() const { return m_mode == 195; }
  int Is205() const { return m_mode == 205; }

 private:
  int m_mode = 105;
};

// The one display-mode object, made by the launcher; null before and after it.
extern CDisplayMode* g_pDisplayMode;
