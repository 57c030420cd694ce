#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../tests/support/zip_writer.h"
#include "host/posix/posix_file_system.h"

namespace rw::bench {

// A folder of demos made from sample demos: copies cut at record boundaries to different
// sizes, under different names (with their sample's extension) and times; every tenth group of 20
// goes into a ZIP archive, half of them in a sub-folder of the archive.
struct ScanCorpus {
  std::string folder;
  size_t demos = 0;
  uint64_t demoBytes = 0;  // uncompressed demo bytes, plain and archived
  uint64_t fileBytes = 0;  // bytes of the files in the folder
  std::vector<std::string> files;
};

namespace corpus_detail {

inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read sample demo " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The first records of demo that fit in about target bytes, then the end marker.
inline std::string CutDemo(const std::string& demo, size_t target) {
  size_t position = 0;
  while (position + 8 <= demo.size()) {
    int32_t sequence = 0;
    int32_t length = 0;
    std::memcpy(&sequence, demo.data() + position, 4);
    std::memcpy(&length, demo.data() + position + 4, 4);
    if (sequence == -1 || length < 0 || position + 8 + static_cast<size_t>(length) > demo.size() ||
        position + 8 + static_cast<size_t>(length) > target) {
      break;
    }
    position += 8 + static_cast<size_t>(length);
  }
  return demo.substr(0, position) + std::string(8, '\xFF');
}

// 2001-01-01 00:00:00 plus i minutes, MS-DOS packed.
inline uint32_t DosTimeOf(size_t i) {
  const uint32_t minutes = static_cast<uint32_t>(i);
  const uint32_t day = 1 + (minutes / (24 * 60)) % 28;
  const uint32_t month = 1 + (minutes / (24 * 60 * 28)) % 12;
  const uint32_t hour = (minutes / 60) % 24;
  const uint32_t minute = minutes % 60;
  const uint32_t date = ((2001 - 1980) << 9) | (month << 5) | day;
  return (date << 16) | (hour << 11) | (minute << 5);
}

}  // namespace corpus_detail

// Makes the corpus in folder unless a complete one of the same count is already there; the
// marker file of a complete one holds its demo count and demo bytes.
inline ScanCorpus MakeScanCorpus(const std::string& folder, const std::vector<std::string>& samples,
                                 size_t count) {
  using corpus_detail::CutDemo;
  using corpus_detail::DosTimeOf;
  constexpr size_t kGroup = 20;
  ScanCorpus corpus;
  corpus.folder = folder;
  const std::string marker = folder + "/.complete-" + std::to_string(count);
  if (std::ifstream in(marker); in >> corpus.demos >> corpus.demoBytes) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().filename().string()[0] == '.' || entry.path().filename() == "rwt_scan") {
        continue;
      }
      corpus.files.push_back(entry.path().string());
      corpus.fileBytes += entry.file_size();
    }
    return corpus;
  }
  std::vector<std::string> demos;
  for (const std::string& sample : samples) demos.push_back(corpus_detail::ReadWhole(sample));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  PosixFileSystem files;
  const auto write = [&](const std::string& path, const std::string& bytes, uint32_t dosTime) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    files.SetModifiedDosTime(path, dosTime);
    corpus.files.push_back(path);
    corpus.fileBytes += bytes.size();
  };
  std::vector<test::ZipMember> members;
  for (size_t i = 0; i < count; ++i) {
    const std::string& sample = samples[i % samples.size()];
    // From 64 KB to about 1 MB, spread evenly.
    const size_t target = 65536 + (i * 7919) % (1 << 20);
    std::string bytes = CutDemo(demos[i % demos.size()], target);
    const std::string name =
        "demo " + std::to_string(100000 + i).substr(1) + sample.substr(sample.rfind('.'));
    corpus.demos += 1;
    corpus.demoBytes += bytes.size();
    const size_t group = i / kGroup;
    if (group % 10 != 9) {
      write(folder + "/" + name, bytes, DosTimeOf(i));
      continue;
    }
    members.push_back({(i % 2 == 0 ? "matches/" : "") + name, std::move(bytes), DosTimeOf(i)});
    if (members.size() == kGroup || i + 1 == count) {
      write(folder + "/pack " + std::to_string(group) + ".zip", test::ZipBytes(members),
            DosTimeOf(i));
      members.clear();
    }
  }
  std::ofstream(marker) << corpus.demos << ' ' << corpus.demoBytes << '\n';
  return corpus;
}

}  // namespace rw::bench
