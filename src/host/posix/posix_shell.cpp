#include "host/posix/posix_shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace rw {
namespace {

// Nobody waits for a started program; this keeps it from lingering as a zombie.
void ReapLater(pid_t child) {
  std::thread([child] {
    int status = 0;
    waitpid(child, &status, 0);
  }).detach();
}

}  // namespace

bool IsWindowsProgram(const std::string& program) {
  // Without blocking: a pipe named like the game would otherwise hang the launch.
  const int fd = open(program.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  char magic[2] = {};
  const bool windows = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && read(fd, magic, 2) == 2 &&
                       magic[0] == 'M' && magic[1] == 'Z';
  close(fd);
  return windows;
}

PosixShell::PosixShell(std::string searchPath) : searchPath_(std::move(searchPath)) {}

PosixShell::PosixShell()
    : PosixShell(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin") {}

std::string PosixShell::FindProgram(std::string_view name) const {
  std::size_t begin = 0;
  while (begin <= searchPath_.size()) {
    std::size_t end = searchPath_.find(':', begin);
    if (end == std::string::npos) end = searchPath_.size();
    const std::string folder = searchPath_.substr(begin, end - begin);
    if (!folder.empty()) {
      const std::string candidate = folder + "/" + std::string(name);
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    begin = end + 1;
  }
  return {};
}

ShellResult PosixShell::Spawn(const std::vector<std::string>& arguments,
                              const std::string& workingFolder) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!workingFolder.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
  }
  pid_t child = 0;
  const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return {false, std::strerror(error)};
  ReapLater(child);
  return {true, ""};
}

ShellResult PosixShell::StartProgram(const std::string& program, const std::string& parameters,
                                     const std::string& workingFolder) {
  if (access(program.c_str(), F_OK) != 0) return {false, "The program does not exist."};
  std::vector<std::string> arguments;
  if (IsWindowsProgram(program)) {
    const std::string wine = FindProgram("wine");
    if (wine.empty()) return {false, "This is a Windows program and wine is not installed."};
    arguments = {wine, program};
  } else {
    if (access(program.c_str(), X_OK) != 0) return {false, "The program is not executable."};
    arguments = {program};
  }
  for (std::string& argument : SplitCommandLine(parameters))
    arguments.push_back(std::move(argument));
  return Spawn(arguments, workingFolder);
}

ShellResult PosixShell::Open(const std::string& target) {
  const std::string opener = FindProgram("xdg-open");
  if (opener.empty()) return {false, "xdg-open is not installed."};
  return Spawn({opener, target}, "");
}

}  // namespace rw
