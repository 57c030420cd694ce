#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "archive/decoder_io.h"
#include "host/file_system.h"

namespace rw {

// Where one extraction's bytes go, with what happens before and after decoding.
class ExtractionTarget : public DecoderOutput {
 public:
  static constexpr int kNothingToDecode = -100;
  // An extraction code to stop with, kNothingToDecode when the target is complete without
  // data, or 0 to go on and decode.
  virtual int Begin() = 0;
  // The code to report, given how the extraction ended.
  virtual int End(int code, uint32_t dosTime) = 0;
};

// A caller's memory block, after an optional number of skipped leading bytes. Filling it
// up ends the extraction early, which is a success.
class MemoryTarget : public ExtractionTarget {
 public:
  MemoryTarget(uint8_t* destination, uint32_t capacity, uint32_t skip)
      : destination_(destination), capacity_(capacity), skip_(skip) {}

  int Begin() override { return 0; }
  bool Deliver(const uint8_t* data, size_t size) override;
  int End(int code, uint32_t dosTime) override;
  uint32_t written() const { return written_; }

 private:
  uint8_t* destination_;
  uint32_t capacity_;
  uint32_t skip_;
  uint32_t written_ = 0;
};

// A file, written beside its final name and moved there only when everything succeeded,
// so a failure never leaves a half-written file or spoils an older one. Missing folders
// are created; a path ending in a separator (or folder attributes) names a folder to make.
class FileTarget : public ExtractionTarget {
 public:
  static constexpr uint16_t kReadOnly = 0x01;
  static constexpr uint16_t kHidden = 0x02;
  static constexpr uint16_t kFolder = 0x10;

  FileTarget(FileSystem& files, std::string path, uint16_t attributes);
  ~FileTarget() override;
  FileTarget(const FileTarget&) = delete;
  FileTarget& operator=(const FileTarget&) = delete;

  int Begin() override;
  bool Deliver(const uint8_t* data, size_t size) override;
  int End(int code, uint32_t dosTime) override;

 private:
  bool Commit(uint32_t dosTime);
  void Discard();

  FileSystem& files_;
  std::string path_;
  uint16_t attributes_;
  std::string temporaryPath_;
  std::FILE* output_ = nullptr;
};

}  // namespace rw
