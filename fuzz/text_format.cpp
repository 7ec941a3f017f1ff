// A format of the UI text library, as a window checks it before filling it: any text is
// judged without reading past its end, and a text judged to take the record plan's
// detail values formats them safely.
#include "FuzzMachine.h"

#include "windows/setup/FormatConversions.h"

#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string format(reinterpret_cast<const char*>(data), size);
  char line[512];
  if (HasConversions(format.c_str(), "sdsssssssss"))
    std::snprintf(line, sizeof line, format.c_str(), "Record", 2024, "03", "01", "12", "02", "00", "Cable channel 1",
                  "02", "00", "Once");
  if (HasConversions(format.c_str(), "d")) std::snprintf(line, sizeof line, format.c_str(), 12);
  return 0;
}
