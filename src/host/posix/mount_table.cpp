#include "host/posix/mount_table.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace rw {
namespace {

// Blanks, tabs, new lines and backslashes in mount points are written as \ and three octal
// digits.
std::string Unescape(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      if (digits.find_first_not_of("01234567") == std::string_view::npos) {
        out += static_cast<char>(((digits[0] - '0') << 6) | ((digits[1] - '0') << 3) |
                                 (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

// The fifth blank-separated field of a mountinfo line.
std::string_view MountPointField(std::string_view line) {
  for (int skip = 0; skip < 4; ++skip) {
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return {};
    line.remove_prefix(blank + 1);
  }
  return line.substr(0, line.find(' '));
}

bool Contains(std::string_view mountPoint, std::string_view path) {
  if (mountPoint == "/") return path.starts_with('/');
  return path.starts_with(mountPoint) &&
         (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

std::string Resolved(std::string path) {
  char buffer[PATH_MAX];
  for (;;) {
    if (::realpath(path.c_str(), buffer) != nullptr) return buffer;
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || path == "/") return {};
    path.resize(slash == 0 ? 1 : slash);
  }
}

// Without /proc: the topmost ancestor on the same device.
std::string SameDeviceTop(std::string path) {
  struct stat own {};
  if (::stat(path.c_str(), &own) != 0) return {};
  while (path != "/") {
    const size_t slash = path.find_last_of('/');
    const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    struct stat above {};
    if (::stat(parent.c_str(), &above) != 0 || above.st_dev != own.st_dev) break;
    path = parent;
  }
  return path;
}

}  // namespace

std::string MountPointIn(std::string_view mountInfo, std::string_view resolvedPath) {
  std::string best;
  while (!mountInfo.empty()) {
    const size_t end = mountInfo.find('\n');
    const std::string_view line = mountInfo.substr(0, end);
    mountInfo.remove_prefix(end == std::string_view::npos ? mountInfo.size() : end + 1);
    const std::string_view field = MountPointField(line);
    if (field.empty()) continue;
    std::string mountPoint = Unescape(field);
    if (Contains(mountPoint, resolvedPath) && mountPoint.size() > best.size()) {
      best = std::move(mountPoint);
    }
  }
  return best;
}

std::string MountPointOf(const std::string& path) {
  const std::string resolved = Resolved(path);
  if (resolved.empty()) return {};
  std::ifstream file("/proc/self/mountinfo");
  if (file) {
    std::ostringstream text;
    text << file.rdbuf();
    std::string mountPoint = MountPointIn(text.str(), resolved);
    if (!mountPoint.empty()) return mountPoint;
  }
  return SameDeviceTop(resolved);
}

}  // namespace rw
