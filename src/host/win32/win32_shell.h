#pragma once

#include "host/shell.h"

namespace rw {

// Starts programs and opens documents with the shell's "open" verb.
class Win32Shell : public Shell {
 public:
  ShellResult StartProgram(const std::string& program, const std::string& parameters,
                           const std::string& workingFolder) override;
  ShellResult Open(const std::string& target) override;
};

}  // namespace rw
