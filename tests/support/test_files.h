#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace rw::test {

// A file under the shared folder of real test files; fails the test clearly when missing.
std::string TestDataPath(std::string_view relative);

// A fresh folder that is removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string Join(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);

// Runs reelwright-cli with the given arguments (a shell-quoted string), and with the given
// environment variables (NAME=VALUE words, shell-quoted) added to the test's.
struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};
CliRun RunCli(const std::string& arguments, const std::string& environment = "");

}  // namespace rw::test
