#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/command_line.h"
#include "host/shell.h"

namespace rw {

// Starts programs with posix_spawn; a Windows program goes through wine when it is installed,
// a native one starts directly. Links and files open with xdg-open.
class PosixShell : public Shell {
 public:
  // searchPath is where wine and xdg-open are looked for, in the form of PATH.
  explicit PosixShell(std::string searchPath);
  PosixShell();

  ShellResult StartProgram(const std::string& program, const std::string& parameters,
                           const std::string& workingFolder) override;
  ShellResult Open(const std::string& target) override;

 private:
  std::string FindProgram(std::string_view name) const;
  ShellResult Spawn(const std::vector<std::string>& arguments, const std::string& workingFolder);

  std::string searchPath_;
};

// Whether the file starts as a Windows program does, with the MS-DOS stub's "MZ": such a
// program starts through wine.
bool IsWindowsProgram(const std::string& program);

}  // namespace rw
