#include "host/win32/win32_shell.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace rw {
namespace {

// ShellExecute answers a number above 32 for success, else the reason.
ShellResult FromShellResult(HINSTANCE result) {
  const auto code = reinterpret_cast<INT_PTR>(result);
  if (code > 32) return {true, ""};
  switch (code) {
    case 0:
    case SE_ERR_OOM:
      return {false, "The system is out of memory."};
    case ERROR_FILE_NOT_FOUND:
      return {false, "The program does not exist."};
    case ERROR_PATH_NOT_FOUND:
      return {false, "The folder does not exist."};
    case ERROR_BAD_FORMAT:
      return {false, "The program is not a valid program."};
    case SE_ERR_ACCESSDENIED:
      return {false, "Access is denied."};
    case SE_ERR_NOASSOC:
      return {false, "No program is associated with this kind of file."};
    default:
      return {false, "The shell could not open it (" + std::to_string(code) + ")."};
  }
}

}  // namespace

ShellResult Win32Shell::StartProgram(const std::string& program, const std::string& parameters,
                                     const std::string& workingFolder) {
  return FromShellResult(ShellExecuteA(nullptr, "open", program.c_str(), parameters.c_str(),
                                       workingFolder.c_str(), SW_SHOWNORMAL));
}

ShellResult Win32Shell::Open(const std::string& target) {
  return FromShellResult(
      ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

}  // namespace rw
#endif
