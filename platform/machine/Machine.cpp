#include <machine/Machine.h>

#include <cstdlib>
#include <system_error>

namespace plat {

namespace fs = std::filesystem;

namespace {
std::mutex g_currentLock;

fs::path clockFile(const fs::path& root) { return root / "run" / "clock"; }
std::unique_ptr<Machine> g_current;
}  // namespace

std::string defaultMachineIni() {
  return "; The simulated PC. Paths of drives are relative to the machine root unless absolute.\r\n"
         "[Screen]\r\n"
         "Width=1024\r\n"
         "Height=768\r\n"
         "BitsPerPixel=32\r\n"
         "\r\n"
         "[Windows]\r\n"
         "MajorVersion=5\r\n"
         "MinorVersion=1\r\n"
         "BuildNumber=2600\r\n"
         "PlatformId=2\r\n"
         "CSDVersion=Service Pack 3\r\n"
         "ProductName=Microsoft Windows XP\r\n"
         "Wow64=0\r\n"
         "AnsiCodePage=950\r\n"
         "Language=3\r\n"
         "UtcOffsetMinutes=0\r\n"
         "RegionCountry=1\r\n"
         "\r\n"
         "[Drives]\r\n"
         "C=C\r\n"
         "Z=/\r\n"
         "\r\n"
         "[TVStick]\r\n"
         "Present=1\r\n"
         "FriendlyName=USB TV Device\r\n"
         // Invented ids: vendor 0000 belongs to no maker.
         "DevicePath=\\\\?\\usb#vid_0000&pid_0001#0&0&0&1#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global\r\n"
         "ControlFilter=Talvik Device Control Filter\r\n"
         "\r\n"
         "; The stations on air in the region (the United States: NTSC-M, broadcast channels).\r\n"
         "[Broadcast]\r\n"
         "Channel1=55.25,NTSC_M,2,Metro 2,440\r\n"
         "Channel2=67.25,NTSC_M,4,Valley 4,550\r\n"
         "Channel3=175.25,NTSC_M,7,Coast 7,660\r\n"
         "Channel4=199.25,NTSC_M,11,City 11,770\r\n"
         "Channel5=471.25,NTSC_M,14,Harbor 14,880\r\n"
         "\r\n"
         "[SoundCard]\r\n"
         "Present=1\r\n"
         "Product=Onboard Audio\r\n"
         "WaveOut=1\r\n"
         "; Lines: name, component type, channels, controls\r\n"
         "Dst0=Volume Control, Speakers, 2, Volume Mute\r\n"
         "Dst0Src0=Wave, WaveOut, 2, Volume Mute\r\n"
         "Dst0Src1=Line In, Line, 2, Volume Mute\r\n"
         "Dst0Src2=CD Audio, CompactDisc, 2, Volume Mute\r\n"
         "Dst0Src3=Microphone, Microphone, 1, Volume Mute\r\n"
         "Dst0Src4=SW Synth, Synthesizer, 2, Volume Mute\r\n"
         "Dst1=Recording Control, WaveIn, 2, Mux\r\n"
         "Dst1Src0=Line In, Line, 2, Volume\r\n"
         "Dst1Src1=Microphone, Microphone, 1, Volume\r\n"
         "Dst1Src2=CD Audio, CompactDisc, 2, Volume\r\n";
}

bool Machine::shareClock() { return m_clock.shareThrough(clockFile(m_root)); }

fs::path Machine::defaultRoot() {
  if (const char* env = std::getenv("ORVANE_MACHINE"); env && *env) return fs::path(env);
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".local/share/orvane-machine";
}

Machine::Machine(fs::path root) : m_root(fs::absolute(std::move(root))) {
  std::error_code ec;
  fs::create_directories(m_root, ec);
  loadIni();
  mapDrives();
  if (fs::exists(clockFile(m_root), ec)) m_clock.shareThrough(clockFile(m_root));
  fs::create_directories(runFolder(), ec);
  m_clock.setUtcOffsetMinutes(m_ini.intValue("Windows", "UtcOffsetMinutes", 0));
}

Machine::~Machine() {
  // Services may refer to each other while they shut down; drop them before the rest.
  std::lock_guard guard(m_servicesLock);
  m_services.clear();
}

Machine& Machine::current() {
  std::lock_guard guard(g_currentLock);
  if (!g_current) g_current = std::make_unique<Machine>(defaultRoot());
  return *g_current;
}

Machine& Machine::open(const fs::path& root) {
  std::lock_guard guard(g_currentLock);
  g_current.reset();
  g_current = std::make_unique<Machine>(root);
  return *g_current;
}

bool Machine::saveIni() const { return m_ini.save(iniPath()); }

void Machine::loadIni() {
  if (!m_ini.load(iniPath())) {
    m_ini.parse(defaultMachineIni());
    saveIni();
  }
}

void Machine::mapDrives() {
  for (const std::string& letter : m_ini.keyNames("Drives")) {
    if (letter.size() != 1) continue;
    fs::path folder = m_ini.valueOr("Drives", letter, "");
    if (folder.empty()) continue;
    if (folder.is_relative()) folder = m_root / folder;
    std::error_code ec;
    fs::create_directories(folder, ec);
    m_paths.mapDrive(letter[0], folder);
  }
  // Drive C: always holds a temp folder and "My Documents", as a Windows PC does.
  if (m_paths.hasDrive('C')) {
    std::error_code ec;
    fs::create_directories(m_paths.driveFolder('C') / "Temp", ec);
    fs::create_directories(m_paths.driveFolder('C') / "My Documents", ec);
  }
}

}  // namespace plat
