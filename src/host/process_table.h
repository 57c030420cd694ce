#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rw {

// One running program as the system lists it.
struct RunningProcess {
  int id = 0;
  // The file the system runs, links resolved; empty when the system does not tell.
  std::string executable;
  // The short name the system shows for it; Wine shows the Windows program's name here.
  std::string name;
  // Its command line, the program as started first.
  std::vector<std::string> arguments;
};

// The user's running programs, and the named pipes through which a running program reads
// commands.
class ProcessTable {
 public:
  virtual ~ProcessTable() = default;
  // This user's processes, as far as they can be read.
  virtual std::vector<RunningProcess> List() = 0;
  virtual bool IsRunning(int id) = 0;
  // The named pipes (FIFOs) the process holds open, by path.
  virtual std::vector<std::string> OpenPipes(int id) = 0;
  // Writes text into a named pipe of this user that a program reads; false, at once, when
  // the path is no such pipe or nothing reads it.
  virtual bool WriteToPipe(const std::string& path, std::string_view text) = 0;
};

}  // namespace rw
