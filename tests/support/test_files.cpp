#include "support/test_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace rw::test {

std::string TestDataPath(std::string_view relative) {
  const std::filesystem::path path = std::filesystem::path(REELWRIGHT_TESTDATA) / relative;
  if (!std::filesystem::exists(path)) {
    ADD_FAILURE() << "missing test file " << path
                  << ": the shared test data folder is expected beside the checkout "
                     "(set REELWRIGHT_TESTDATA when configuring)";
    throw std::runtime_error("missing test data " + path.string());
  }
  return std::filesystem::canonical(path).string();
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "rwtest-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

CliRun RunCli(const std::string& arguments, const std::string& environment) {
  TempDir dir;
  const std::string outPath = dir.Join("out");
  const std::string errPath = dir.Join("err");
  const std::string command = (environment.empty() ? "" : "env " + environment + " ") + "'" +
                              REELWRIGHT_CLI + "' " + arguments + " >'" + outPath + "' 2>'" +
                              errPath + "' </dev/null";
  const int status = std::system(command.c_str());
  CliRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadBytes(outPath);
  run.err = ReadBytes(errPath);
  return run;
}

}  // namespace rw::test
