#pragma once

namespace rw {

// The separator of the host's file paths; the game on Windows gets "\\", elsewhere "/".
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace rw
