#include <machine/ProcessStat.h>

#include <fstream>
#include <sstream>
#include <string>

namespace plat {

// /proc/<pid>/stat: the state is the field after the command name in parentheses, the
// start time the twentieth after the state.
std::optional<std::uint64_t> ProcessStat::startTime(int processId) {
  if (processId <= 0) return std::nullopt;
  std::ifstream in("/proc/" + std::to_string(processId) + "/stat");
  std::string stat;
  if (!std::getline(in, stat)) return std::nullopt;
  const auto close = stat.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(stat.substr(close + 1));
  std::string state;
  if (!(fields >> state) || state == "Z" || state == "X") return std::nullopt;
  std::string field;
  for (int i = 0; i < 19 && fields >> field; ++i) {
  }
  try {
    return std::stoull(field);
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace plat
