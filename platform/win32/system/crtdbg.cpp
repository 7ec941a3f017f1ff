#include <win32/crtdbg.h>

#include <win32/debug.h>

#include <cstdarg>
#include <cstdio>
#include <string>

int _CrtDbgReport(int reportType, const char* filename, int linenumber, const char* moduleName, const char* format, ...) {
  char text[1024] = "";
  if (format) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
  }
  std::string report;
  if (filename) report += std::string(filename) + "(" + std::to_string(linenumber) + ") : ";
  if (moduleName) report += std::string(moduleName) + ": ";
  if (reportType == _CRT_ASSERT) report += "Assertion failed: ";
  report += text;
  OutputDebugStringA(report.c_str());
  return 0;
}
