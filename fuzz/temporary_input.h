#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace rw::fuzz {

// The readers work on paths, so each input is written to one file per fuzzer process; the
// file goes when the process exits.
class TemporaryInput {
 public:
  TemporaryInput(const std::string& stem, const std::string& extension)
      : path_("/tmp/" + stem + "_" + std::to_string(getpid()) + extension) {}
  ~TemporaryInput() { std::remove(path_.c_str()); }

  const std::string& path() const { return path_; }

  bool Write(const uint8_t* data, size_t size) const {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
  }

 private:
  std::string path_;
};

}  // namespace rw::fuzz
