// Running a program of the build on a test's machine, as a user starts it, with a robot
// script: what it printed and how it ended.
#pragma once

#include <support/TestMachine.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace test {

struct ProgramRun {
  int status = -1;  // the exit status; -1 when it did not start or did not end normally
  std::string out;
  std::string err;
};

// Runs `program` with `args` on the machine, ORVANE_ROBOT naming `robotScript`, and the
// extra environment entries ("NAME=value") given.
ProgramRun RunProgram(const TestMachine& machine, const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& robotScript, const std::vector<std::string>& environment = {});

// Runs `program` as a user starts it from a shell, with no machine or robot script chosen
// for it and the extra environment entries given; its output goes to files in `folder`.
ProgramRun RunProgramAsUser(const std::filesystem::path& folder, const std::string& program,
                            const std::vector<std::string>& args, const std::vector<std::string>& environment = {});

std::string ReadWhole(const std::filesystem::path& file);

}  // namespace test
