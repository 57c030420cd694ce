#pragma once

#include <string>
#include <string_view>

#include "host/path_separator.h"

namespace rw {

inline bool IsPathSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

// folder, the host's separator (unless folder ends in one) and name.
inline std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && !IsPathSeparator(path.back())) path += kPathSeparator;
  return path + std::string(name);
}

}  // namespace rw
