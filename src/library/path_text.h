#pragma once

#include <string>
#include <string_view>

namespace rw {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline bool IsPathSeparator(char c) {
  return c == '\\' || c == '/';
}
#else
inline constexpr char kPathSeparator = '/';
inline bool IsPathSeparator(char c) {
  return c == '/';
}
#endif

// folder, the host's separator (unless folder ends in one) and name.
inline std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && !IsPathSeparator(path.back())) path += kPathSeparator;
  return path + std::string(name);
}

}  // namespace rw
