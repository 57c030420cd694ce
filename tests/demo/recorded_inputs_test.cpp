#include <gtest/gtest.h>

#include <filesystem>

#include "archive/directory_reader.h"
#include "archive/extract_codes.h"
#include "archive/extractor.h"
#include "host/fake/fake_host.h"
#include "support/demo_writer.h"
#include "support/test_files.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

// Inputs that once broke a reader (fuzzer findings kept under tests/data/fuzz) are read again
// on every run, under the sanitizers in CI: each must end in one of the readers' results.
std::vector<std::string> Recorded(const std::string& folder) {
  std::vector<std::string> paths;
  for (const auto& entry : fs::directory_iterator(test::TestDataPath("fuzz/" + folder))) {
    if (entry.is_regular_file()) paths.push_back(entry.path().string());
  }
  return paths;
}

TEST(RecordedInputs, ArchivesWalkAndExtractToAResult) {
  const std::vector<std::string> archives = Recorded("zip");
  ASSERT_FALSE(archives.empty());
  FakeClock clock;
  CountingPump pump;
  FakeFileSystem files;
  Extractor extractor(clock, pump, files);
  for (const std::string& path : archives) {
    ArchiveCursor cursor;
    int code = ArchiveOpen(path, cursor);
    for (int members = 0; code == kArchiveMember && members < 100000; ++members) {
      std::vector<uint8_t> out(std::min<uint32_t>(cursor.size, 1u << 20));
      uint32_t size = static_cast<uint32_t>(out.size());
      const int extracted =
          extractor.unzipfiletomemory(path, out.data(), size, {}, cursor.localHeaderOffset);
      EXPECT_GE(extracted, kExtractOk) << path;
      EXPECT_LE(extracted, kExtractEncrypted) << path;
      code = ArchiveNext(cursor);
    }
    EXPECT_TRUE(code == kArchiveNoMember || code < 0) << path;
    ArchiveClose(cursor);
  }
}

// Made by hand: a record whose name runs past the directory and the file (unzip -l shows a
// name that swallowed the end record); the walk reports the archive as damaged.
TEST(RecordedInputs, ARecordRunningPastTheDirectoryIsDamage) {
  ArchiveCursor cursor;
  EXPECT_EQ(ArchiveOpen(test::TestDataPath("fuzz/zip/name-past-the-directory.zip"), cursor),
            kArchiveDamaged);
}

TEST(RecordedInputs, DemosReadToResultZeroOrOne) {
  const std::vector<std::string> demos = Recorded("demo");
  ASSERT_FALSE(demos.empty());
  for (const std::string& path : demos) {
    test::ReaderHarness h;
    const std::string result = h.reader.GetFromDemo(path, "", true);
    EXPECT_TRUE(result == "0" || result == "1") << path;
  }
}

}  // namespace
}  // namespace rw
