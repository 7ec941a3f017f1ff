#include <win32/text/CodePageConverter.h>

#include <machine/Machine.h>
#include <win32/codepage.h>

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace plat {

namespace {

struct IconvCloser {
  void operator()(void* descriptor) const { iconv_close(static_cast<iconv_t>(descriptor)); }
};
using Iconv = std::unique_ptr<void, IconvCloser>;

Iconv openIconv(const char* to, const char* from) {
  iconv_t descriptor = iconv_open(to, from);
  return Iconv(descriptor == reinterpret_cast<iconv_t>(-1) ? nullptr : descriptor);
}

// Converts `in` completely; `replace` is called at each unit iconv refuses (or cut short
// at the end) with the remaining input, appends what stands for it and returns how many
// input bytes it covers.
template <class Out, class Replace>
void convert(const Iconv& descriptor, std::string_view in, Out& out, Replace replace) {
  using Unit = typename Out::value_type;
  Unit buffer[256];
  char* input = const_cast<char*>(in.data());
  std::size_t inputLeft = in.size();
  while (inputLeft > 0) {
    char* output = reinterpret_cast<char*>(buffer);
    std::size_t outputLeft = sizeof buffer;
    const std::size_t result = iconv(static_cast<iconv_t>(descriptor.get()), &input, &inputLeft, &output, &outputLeft);
    out.append(buffer, (sizeof buffer - outputLeft) / sizeof(Unit));
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      const std::size_t skipped = std::min(replace(std::string_view(input, inputLeft), out), inputLeft);
      input += skipped;
      inputLeft -= skipped;
    }
  }
}

}  // namespace

std::optional<CodePageConverter> CodePageConverter::find(UINT codePage) {
  if (codePage == CP_ACP) codePage = ansi();
  switch (codePage) {
    case 1252:
      return CodePageConverter("CP1252", true);
    case 1251:
      return CodePageConverter("CP1251", true);
    case 936:
      return CodePageConverter("CP936", false);
    case 950:
      return CodePageConverter("CP950", false);
    case CP_UTF8:
      return CodePageConverter("UTF-8", false);
    default:
      return std::nullopt;
  }
}

// Traditional Chinese (Big5) unless machine.ini says otherwise, as the default machine does.
UINT CodePageConverter::ansi() { return static_cast<UINT>(Machine::current().ini().intValue("Windows", "AnsiCodePage", 950)); }

std::optional<CodePageConverter::Decoded> CodePageConverter::decode(std::string_view bytes) const {
  const Iconv descriptor = openIconv("WCHAR_T", m_iconvName);
  if (!descriptor) return std::nullopt;
  Decoded result;
  convert(descriptor, bytes, result.text, [&](std::string_view rest, std::wstring& out) {
    out += m_singleByte ? static_cast<wchar_t>(static_cast<unsigned char>(rest.front())) : L'\xFFFD';
    result.replaced = true;
    return std::size_t{1};
  });
  return result;
}

std::optional<CodePageConverter::Encoded> CodePageConverter::encode(std::wstring_view text, std::string_view replacement) const {
  const Iconv descriptor = openIconv(m_iconvName, "WCHAR_T");
  if (!descriptor) return std::nullopt;
  Encoded result;
  const std::string_view units(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  convert(descriptor, units, result.bytes, [&](std::string_view, std::string& out) {
    out += replacement;
    result.replaced = true;
    return sizeof(wchar_t);
  });
  return result;
}

}  // namespace plat
