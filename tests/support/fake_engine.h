#pragma once

#include <string>
#include <vector>

namespace rw::test {

// Writes an executable stand-in for a game engine at path. Each start appends its working
// folder and arguments ("[ARG]" a line) to path + ".starts", a line "--" after each start. Given
// "+set com_pipefile NAME", it makes that named pipe in its home path's game folder
// (fs_homepath, else ~/.q3a; fs_game, else baseq3), as ioquake3 does, and appends every line
// read from it to path + ".lines" until it reads "quit".
void WriteFakeEngine(const std::string& path);

// The starts a stand-in recorded, each its working folder and then its arguments.
std::vector<std::vector<std::string>> FakeEngineStarts(const std::string& path);

}  // namespace rw::test
