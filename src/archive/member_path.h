#pragma once

#include <string>
#include <string_view>

namespace rw {

// A member's path inside an archive, "\\"-separated, as its folder and its file name.
struct MemberPath {
  std::string folder;  // empty at the archive's top
  std::string name;
};

inline MemberPath SplitMemberPath(std::string_view path) {
  const size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return {{}, std::string(path)};
  return {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

}  // namespace rw
