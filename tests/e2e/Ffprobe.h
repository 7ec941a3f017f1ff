// What the ffprobe tool reads in a file the programs wrote.
#pragma once

#include <string>

namespace test {

// The number of pictures ffprobe decodes from the file's first video stream; -1 when it cannot.
int FfprobeVideoFrames(const std::string& path);
// How long the file's first stream of a kind ("v" or "a") runs, from its first packet's
// time to its last packet's end; -1 when there is none.
double FfprobeStreamSeconds(const std::string& path, const std::string& kind);

}  // namespace test
