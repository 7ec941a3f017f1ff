// orvane-rc: compiles a module's resource files into a C++ source.
//   orvane-rc <file.rc> <out.cpp> [<out.d> [<more.rc> …]]
// Further files add to the first (a module whose pictures the build draws lists them in a
// file of their own). The optional depfile names every file the resources were read
// from, so the build recompiles when a bitmap or icon changes.
#include "CppWriter.h"
#include "ResourceScript.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: orvane-rc <file.rc> <out.cpp> [<out.d> [<more.rc> ...]]\n";
    return 2;
  }
  try {
    rc::ResourceScript script = rc::parseScript(argv[1]);
    for (int i = 4; i < argc; ++i) rc::mergeScript(script, rc::parseScript(argv[i]), argv[i]);
    std::ostringstream source;
    rc::writeCpp(script, std::filesystem::path(argv[1]).filename().string(), source);
    std::ofstream(argv[2], std::ios::binary) << source.str();
    if (argc > 3) {
      std::ofstream depfile(argv[3]);
      depfile << argv[2] << ": " << argv[1];
      for (int i = 4; i < argc; ++i) depfile << " \\\n  " << argv[i];
      for (const auto* list : {&script.bitmaps, &script.icons})
        for (const auto& r : *list) depfile << " \\\n  " << r.file.string();
      depfile << "\n";
    }
  } catch (const std::exception& e) {
    std::cerr << "orvane-rc: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
