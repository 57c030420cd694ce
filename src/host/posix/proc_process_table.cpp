#include "host/posix/proc_process_table.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>

namespace rw {
namespace {

std::string ProcPath(int id, const char* entry) {
  return "/proc/" + std::to_string(id) + "/" + entry;
}

std::string LinkTarget(const std::string& link) {
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink(link.c_str(), buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

// A process may end while we read its entries (ESRCH): that reads as empty, never as an error.
std::string ReadSmallFile(const std::string& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      bytes.clear();
      break;
    }
    if (count == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(fd);
  return bytes;
}

struct CloseFolder {
  void operator()(DIR* folder) const { ::closedir(folder); }
};
using OpenFolder = std::unique_ptr<DIR, CloseFolder>;

bool OwnedByUs(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && info.st_uid == ::getuid();
}

// Process ids are the folders of /proc named by digits alone.
int IdOf(const char* name) {
  int id = 0;
  for (const char* c = name; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9' || id > (INT_MAX - 9) / 10) return 0;
    id = id * 10 + (*c - '0');
  }
  return id;
}

std::vector<std::string> SplitAtNulls(const std::string& bytes) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find('\0', start);
    parts.push_back(
        bytes.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

}  // namespace

std::vector<RunningProcess> ProcProcessTable::List() {
  std::vector<RunningProcess> processes;
  const OpenFolder proc(::opendir("/proc"));
  if (proc == nullptr) return processes;
  while (const dirent* entry = ::readdir(proc.get())) {
    const int id = IdOf(entry->d_name);
    if (id == 0 || !OwnedByUs(ProcPath(id, ""))) continue;
    RunningProcess process;
    process.id = id;
    process.executable = LinkTarget(ProcPath(id, "exe"));
    process.name = ReadSmallFile(ProcPath(id, "comm"));
    if (!process.name.empty() && process.name.back() == '\n') process.name.pop_back();
    process.arguments = SplitAtNulls(ReadSmallFile(ProcPath(id, "cmdline")));
    // A process that ended meanwhile, or a kernel thread, has no command line.
    if (process.arguments.empty()) continue;
    processes.push_back(std::move(process));
  }
  return processes;
}

bool ProcProcessTable::IsRunning(int id) {
  if (id <= 0) return false;
  // A zombie has ended, though its entry stays until its parent reaps it.
  const std::string status = ReadSmallFile(ProcPath(id, "stat"));
  const std::size_t close = status.rfind(')');
  return close != std::string::npos && close + 2 < status.size() && status[close + 2] != 'Z' &&
         status[close + 2] != 'X';
}

std::vector<std::string> ProcProcessTable::OpenPipes(int id) {
  std::vector<std::string> pipes;
  const std::string folder = ProcPath(id, "fd");
  const OpenFolder descriptors(::opendir(folder.c_str()));
  if (descriptors == nullptr) return pipes;
  while (const dirent* entry = ::readdir(descriptors.get())) {
    if (entry->d_name[0] == '.') continue;
    const std::string target = LinkTarget(folder + "/" + entry->d_name);
    struct stat info {};
    // Unnamed pipes show as "pipe:[N]"; a named one by its path.
    if (!target.starts_with('/') || ::stat(target.c_str(), &info) != 0 || !S_ISFIFO(info.st_mode)) {
      continue;
    }
    // One pipe may be open under several descriptors.
    if (std::find(pipes.begin(), pipes.end(), target) == pipes.end()) pipes.push_back(target);
  }
  return pipes;
}

bool ProcProcessTable::WriteToPipe(const std::string& path, std::string_view text) {
  // Without a reader a non-blocking open fails at once (ENXIO) instead of waiting for one.
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool written = ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode) && info.st_uid == ::getuid();
  std::size_t done = 0;
  while (written && done < text.size()) {
    const ssize_t count = ::write(fd, text.data() + done, text.size() - done);
    if (count < 0 && errno == EINTR) continue;
    written = count > 0;
    if (written) done += static_cast<std::size_t>(count);
  }
  ::close(fd);
  return written;
}

}  // namespace rw
