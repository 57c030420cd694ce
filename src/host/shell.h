#pragma once

#include <string>

namespace rw {

// What the shell did with a request: started, or why not in words for the user.
struct ShellResult {
  bool started = false;
  std::string reason;
};

// Starts programs and opens documents and links the way the desktop does.
class Shell {
 public:
  virtual ~Shell() = default;
  // Starts program in a normal window with the parameters as one command-line text and the
  // given working folder; does not wait for it.
  virtual ShellResult StartProgram(const std::string& program, const std::string& parameters,
                                   const std::string& workingFolder) = 0;
  // Opens a link or file with the handler the desktop has for it.
  virtual ShellResult Open(const std::string& target) = 0;
};

}  // namespace rw
