// GetFromDemo over arbitrary bytes, read as a demo file (served from memory through the file
// system seam) and as the stored member of a ZIP archive written around them. The name is a
// 68 demo's, so plain and bit-packed inputs alike are walked.
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "demo/demo_reader.h"
#include "demo/read_session.h"
#include "host/posix/posix_file_system.h"

namespace {

class DroppedMessages : public rw::Messages {
 public:
  rw::MessageAnswer Show(std::string_view, std::string_view, rw::MessageIcon,
                         rw::MessageButtons) override {
    ++shown;
    return rw::MessageAnswer::kOk;
  }
  std::optional<std::string> Ask(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFolder(std::string_view, std::string_view,
                                          const std::vector<rw::FolderOffer>&,
                                          std::string_view) override {
    return std::nullopt;
  }
  int shown = 0;
};

// Real files, except the demo file, whose bytes come from memory.
class DemoInMemory : public rw::PosixFileSystem {
 public:
  bool ReadFileInto(const std::string& path, uint64_t maxBytes, rw::ReadBuffer& buffer) override {
    if (path != kDemoPath) return PosixFileSystem::ReadFileInto(path, maxBytes, buffer);
    // Exactly the input's bytes, so that a read past them is caught.
    buffer.Release();
    buffer.Reserve(std::max<size_t>(bytes.size(), 1));
    std::memcpy(buffer.data(), bytes.data(), bytes.size());
    buffer.SetSize(bytes.size());
    return true;
  }
  std::optional<uint32_t> ModifiedDosTime(const std::string& path) override {
    return path == kDemoPath ? std::optional<uint32_t>(0x2A634B4Au)
                             : PosixFileSystem::ModifiedDosTime(path);
  }
  static constexpr const char* kDemoPath = "fuzz.dm_68";
  std::string bytes;
};

constexpr size_t kMaxArchivedSize = 256 * 1024;

void Put(std::string& out, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// One stored member named as the demo file.
std::string ArchiveAround(const std::string& data) {
  const auto crc = static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
  const std::string name = DemoInMemory::kDemoPath;
  std::string common;
  Put(common, 20, 2);
  Put(common, 0, 2);
  Put(common, 0, 2);
  Put(common, 0x2A634B4A, 4);
  Put(common, crc, 4);
  Put(common, static_cast<uint32_t>(data.size()), 4);
  Put(common, static_cast<uint32_t>(data.size()), 4);
  Put(common, static_cast<uint32_t>(name.size()), 2);
  Put(common, 0, 2);
  std::string archive;
  Put(archive, 0x04034b50, 4);
  archive += common + name + data;
  const auto directoryOffset = static_cast<uint32_t>(archive.size());
  std::string directory;
  Put(directory, 0x02014b50, 4);
  Put(directory, 20, 2);
  directory += common;
  Put(directory, 0, 2);  // comment length
  Put(directory, 0, 2);  // disk
  Put(directory, 0, 2);  // internal attributes
  Put(directory, 0x20, 4);
  Put(directory, 0, 4);
  directory += name;
  archive += directory;
  Put(archive, 0x06054b50, 4);
  Put(archive, 0, 4);
  Put(archive, 1, 2);
  Put(archive, 1, 2);
  Put(archive, static_cast<uint32_t>(directory.size()), 4);
  Put(archive, directoryOffset, 4);
  Put(archive, 0, 2);
  return archive;
}

void Check(const rw::DemoReader& reader, const DroppedMessages& messages, const std::string& result,
           size_t size) {
  if (result != "0" && result != "1") __builtin_trap();
  if (messages.shown > 1 || (messages.shown == 1 && result != "0")) __builtin_trap();
  if (reader.State().Players.size() > 64) __builtin_trap();
  size_t logBytes = 0;
  for (const std::string& line : reader.State().MatchLog) logBytes += line.size() + sizeof line;
  if (logBytes > size + rw::kMatchLogSlack) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static DroppedMessages messages;
  static rw::FixedLocale locale;
  static DemoInMemory files;
  static rw::DemoReader reader(messages, locale, files);
  static const std::string archivePath =
      "/tmp/fuzz_demo_reader_" + std::to_string(::getpid()) + ".zip";

  files.bytes.assign(reinterpret_cast<const char*>(data), size);
  messages.shown = 0;
  const std::string fileResult = reader.GetFromDemo(DemoInMemory::kDemoPath, "", true);
  Check(reader, messages, fileResult, size);
  const rw::DemoReadState fromFile = reader.State();

  // Whole real demos as seeds take long enough once; their mutations are walked as files.
  if (size > kMaxArchivedSize) return 0;
  const std::string archive = ArchiveAround(files.bytes);
  if (std::FILE* out = std::fopen(archivePath.c_str(), "wb")) {
    const bool written = std::fwrite(archive.data(), 1, archive.size(), out) == archive.size();
    if (std::fclose(out) == 0 && written) {
      messages.shown = 0;
      const std::string result = reader.GetFromDemo(DemoInMemory::kDemoPath, archivePath, true);
      Check(reader, messages, result, size);
      // The member holds the same bytes, so it reads the same.
      const rw::DemoReadState& fromMember = reader.State();
      if (result != fileResult || fromMember.InfoString != fromFile.InfoString ||
          fromMember.Playtime != fromFile.Playtime || fromMember.MatchLog != fromFile.MatchLog ||
          fromMember.SizeText != fromFile.SizeText ||
          fromMember.RecordedText != fromFile.RecordedText) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
