#include "archive/extraction_targets.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "archive/extract_codes.h"

namespace rw {

namespace {

bool EndsWithSeparator(const std::string& path) {
  return !path.empty() &&
         (path.back() == '/' || path.back() == std::filesystem::path::preferred_separator);
}

// A name beside the target that no other file has.
std::FILE* CreateTemporaryBeside(const std::string& path, std::string& temporaryPath) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(random()));
    temporaryPath = path + suffix;
    if (std::FILE* file = std::fopen(temporaryPath.c_str(), "wbx")) return file;
    if (errno != EEXIST) break;
  }
  temporaryPath.clear();
  return nullptr;
}

}  // namespace

bool MemoryTarget::Deliver(const uint8_t* data, size_t size) {
  const size_t skipped = std::min<size_t>(size, skip_);
  skip_ -= static_cast<uint32_t>(skipped);
  data += skipped;
  size -= skipped;
  const size_t fits = std::min<size_t>(size, capacity_ - written_);
  if (fits > 0) std::memcpy(destination_ + written_, data, fits);
  written_ += static_cast<uint32_t>(fits);
  return fits == size;
}

int MemoryTarget::End(int code, uint32_t) {
  return code == kExtractOutputFailed ? kExtractOk : code;
}

FileTarget::FileTarget(FileSystem& files, std::string path, uint16_t attributes)
    : files_(files), path_(std::move(path)), attributes_(attributes) {
  if ((attributes_ & kFolder) != 0 && !EndsWithSeparator(path_)) path_ += '/';
}

FileTarget::~FileTarget() {
  Discard();
}

int FileTarget::Begin() {
  std::error_code error;
  if (EndsWithSeparator(path_)) {
    std::filesystem::create_directories(path_, error);
    return std::filesystem::is_directory(path_, error) ? kNothingToDecode : kExtractOutputFailed;
  }
  const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
  if (!folder.empty() && !std::filesystem::exists(folder, error)) {
    std::filesystem::create_directories(folder, error);
  }
  output_ = CreateTemporaryBeside(path_, temporaryPath_);
  return output_ != nullptr ? kExtractOk : kExtractOutputFailed;
}

bool FileTarget::Deliver(const uint8_t* data, size_t size) {
  return output_ != nullptr && std::fwrite(data, 1, size, output_) == size;
}

int FileTarget::End(int code, uint32_t dosTime) {
  if (code == kNothingToDecode) return kExtractOk;
  if (code == kExtractOk && !Commit(dosTime)) code = kExtractOutputFailed;
  Discard();
  return code;
}

bool FileTarget::Commit(uint32_t dosTime) {
  std::FILE* output = output_;
  output_ = nullptr;
  if (output == nullptr) return false;
  const bool flushed = std::fflush(output) == 0 && std::ferror(output) == 0;
  if (std::fclose(output) != 0 || !flushed) return false;
  files_.SetModifiedDosTime(temporaryPath_, dosTime);
  std::error_code error;
  std::filesystem::rename(temporaryPath_, path_, error);
  if (error) return false;
  temporaryPath_.clear();
  if ((attributes_ & kReadOnly) != 0) {
    std::filesystem::permissions(path_,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove, error);
  }
  if ((attributes_ & kHidden) != 0) files_.SetHidden(path_);
  return true;
}

void FileTarget::Discard() {
  if (output_ != nullptr) std::fclose(output_);
  output_ = nullptr;
  if (!temporaryPath_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporaryPath_, ignored);
    temporaryPath_.clear();
  }
}

}  // namespace rw
