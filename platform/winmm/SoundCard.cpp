#include <winmm/SoundCard.h>

#include <machine/IniDocument.h>
#include <machine/Log.h>

#include <charconv>
#include <cstring>

namespace plat {

namespace {

constexpr MMVERSION kDriverVersion = 0x0501;

// A line as machine.ini describes it, before its controls have ids.
struct LineText {
  std::string name;
  DWORD componentType;
  DWORD channels;
  std::vector<MixerControl::Kind> controls;
};

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto at = text.find(separator);
    parts.push_back(trimmed(text.substr(0, at)));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

std::optional<LineText> parseLine(std::string_view text) {
  const auto fields = split(text, ',');
  if (fields.size() < 3 || fields.size() > 4 || fields[0].empty()) return std::nullopt;
  const auto type = MixerLine::componentTypeNamed(fields[1]);
  DWORD channels = 0;
  const auto [end, error] = std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), channels);
  if (!type || error != std::errc() || end != fields[2].data() + fields[2].size() || channels < 1 || channels > 8)
    return std::nullopt;
  LineText line{std::string(fields[0]), *type, channels, {}};
  if (fields.size() == 4) {
    for (std::string_view word : split(fields[3], ' ')) {
      if (word.empty()) continue;
      const auto kind = MixerControl::kindNamed(word);
      if (!kind) return std::nullopt;
      line.controls.push_back(*kind);
    }
  }
  return line;
}

std::optional<LineText> lineAt(const IniDocument& ini, std::string_view section, const std::string& key) {
  const auto text = ini.value(section, key);
  if (!text) return std::nullopt;
  auto line = parseLine(*text);
  if (!line) PLAT_LOG("winmm", "[%.*s] %s: cannot read \"%s\"", int(section.size()), section.data(), key.c_str(), text->c_str());
  return line;
}

void addControls(MixerLine& line, const LineText& text, DWORD items, DWORD& nextId) {
  for (MixerControl::Kind kind : text.controls) {
    const bool select = kind != MixerControl::Kind::Volume && kind != MixerControl::Kind::Mute;
    if (select && (line.isSource() || items == 0)) continue;  // a select needs sources to choose from
    line.controls().emplace_back(nextId++, kind, text.channels, items);
  }
}

DWORD destinationLineId(DWORD destination) { return 0xFFFF0000u | destination; }
DWORD sourceLineId(DWORD destination, DWORD source) { return (source << 16) | destination; }

}  // namespace

std::optional<SoundCard> SoundCard::fromIni(const IniDocument& ini, std::string_view section) {
  if (!ini.hasSection(section) || ini.intValue(section, "Present", 1) == 0) return std::nullopt;
  SoundCard card;
  card.m_product = ini.valueOr(section, "Product", "Sound Card");
  card.m_waveOut = ini.intValue(section, "WaveOut", 1) != 0;

  DWORD nextControlId = 1;
  for (DWORD d = 0;; ++d) {
    const std::string dstKey = "Dst" + std::to_string(d);
    const auto dstText = lineAt(ini, section, dstKey);
    if (!dstText) break;
    std::vector<LineText> sourceTexts;
    for (DWORD s = 0;; ++s) {
      auto srcText = lineAt(ini, section, dstKey + "Src" + std::to_string(s));
      if (!srcText) break;
      sourceTexts.push_back(std::move(*srcText));
    }
    Destination dst{MixerLine(destinationLineId(d), d, std::nullopt, dstText->name, dstText->componentType,
                              dstText->channels),
                    {}};
    addControls(dst.line, *dstText, static_cast<DWORD>(sourceTexts.size()), nextControlId);
    for (DWORD s = 0; s < sourceTexts.size(); ++s) {
      const LineText& t = sourceTexts[s];
      dst.sources.emplace_back(sourceLineId(d, s), d, s, t.name, t.componentType, t.channels);
      addControls(dst.sources.back(), t, 0, nextControlId);
    }
    card.m_destinations.push_back(std::move(dst));
  }
  return card;
}

DWORD SoundCard::sourceCount(DWORD destination) const {
  return destination < m_destinations.size() ? static_cast<DWORD>(m_destinations[destination].sources.size()) : 0;
}

void SoundCard::describe(MIXERCAPSA& out) const {
  std::memset(&out, 0, sizeof out);
  out.vDriverVersion = kDriverVersion;
  std::strncpy(out.szPname, m_product.c_str(), MAXPNAMELEN - 1);
  out.cDestinations = destinationCount();
}

void SoundCard::describeLine(const MixerLine& line, MIXERLINEA& out) const {
  line.describe(out, sourceCount(line.destination()));
  out.Target.vDriverVersion = kDriverVersion;
  std::strncpy(out.Target.szPname, m_product.c_str(), MAXPNAMELEN - 1);
}

MixerLine* SoundCard::destination(DWORD index) {
  return index < m_destinations.size() ? &m_destinations[index].line : nullptr;
}

MixerLine* SoundCard::source(DWORD destination, DWORD index) {
  if (destination >= m_destinations.size() || index >= m_destinations[destination].sources.size()) return nullptr;
  return &m_destinations[destination].sources[index];
}

void SoundCard::forEachLine(const std::function<bool(MixerLine&)>& visit) {
  for (Destination& d : m_destinations) {
    if (!visit(d.line)) return;
  }
  for (Destination& d : m_destinations) {
    for (MixerLine& s : d.sources) {
      if (!visit(s)) return;
    }
  }
}

MixerLine* SoundCard::line(DWORD lineId) {
  MixerLine* found = nullptr;
  forEachLine([&](MixerLine& l) {
    if (l.id() == lineId) found = &l;
    return !found;
  });
  return found;
}

MixerLine* SoundCard::lineOfType(DWORD componentType) {
  MixerLine* found = nullptr;
  forEachLine([&](MixerLine& l) {
    if (l.componentType() == componentType) found = &l;
    return !found;
  });
  return found;
}

MixerControl* SoundCard::control(DWORD controlId) {
  MixerControl* found = nullptr;
  forEachLine([&](MixerLine& l) {
    found = l.control(controlId);
    return !found;
  });
  return found;
}

MixerControl* SoundCard::waveVolume() {
  for (Destination& d : m_destinations) {
    for (MixerLine& s : d.sources) {
      if (s.componentType() != MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT) continue;
      for (MixerControl& c : s.controls()) {
        if (c.kind() == MixerControl::Kind::Volume) return &c;
      }
    }
  }
  return nullptr;
}

}  // namespace plat
