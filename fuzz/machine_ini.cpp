// machine.ini: any text opens as a machine (drives mapped, the broadcast and its sources
// read); the document's text is stable through a parse, and a changed value saves with
// every other value kept.
#include "FuzzMachine.h"

#include <machine/Broadcast.h>
#include <machine/IniDocument.h>

#include <filesystem>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& fuzzMachine = fuzz::FuzzMachine::get();
  const std::filesystem::path root = fuzzMachine.root() / "other machine";
  std::filesystem::create_directories(root);
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::ofstream(root / "machine.ini", std::ios::binary | std::ios::trunc) << text;
  {
    plat::Machine machine(root);
    plat::Broadcast::fromIni(machine.ini());
    for (char letter : machine.paths().driveLetters()) machine.paths().driveFolder(letter);
    machine.paths().toLinux("C:\\Program Files\\x.txt");
  }
  const plat::IniDocument document(text);
  const std::string once = document.text();
  fuzz::check(plat::IniDocument(once).text() == once, "a document's text parses to itself");
  plat::IniDocument changed(once);
  changed.setValue("Fuzz", "Key", "Value");
  fuzz::check(changed.value("Fuzz", "Key") == "Value", "a set value reads back");
  for (const std::string& section : document.sectionNames()) {
    if (section == "Fuzz") continue;
    for (const std::string& key : document.keyNames(section))
      fuzz::check(changed.value(section, key) == document.value(section, key), "other values are kept");
  }
  fuzz::check(changed.save(root / "saved.ini"), "the document saves");
  fuzz::check(fuzz::FuzzMachine::read(root / "saved.ini") == changed.text(), "as its text");
  return 0;
}
