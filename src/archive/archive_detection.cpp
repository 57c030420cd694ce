#include <filesystem>

#include "archive/directory_reader.h"
#include "archive/little_endian.h"

namespace rw {

namespace {

constexpr size_t kHeadSize = 10;

// Where the MS-DOS program image ends, from the executable header's page counts.
int64_t ExecutableImageSize(const uint8_t* head) {
  const int64_t lastPageBytes = ReadLe16(head + 2);
  const int64_t pages = ReadLe16(head + 4);
  int64_t size = (pages - 1) * 512 + lastPageBytes;
  if (lastPageBytes == 0) size += 512;
  return size;
}

bool StartsArchiveData(const uint8_t* bytes, int64_t count) {
  if (count >= 4 && IsZipSignature(bytes, 3, 4)) return true;
  if (count >= 4 && bytes[0] == 0x44 && bytes[1] == 0x24 && bytes[2] == 0x04 && bytes[3] == 0x8B) {
    return true;
  }
  return count >= 5 && IsZipSignature(bytes + 1, 3, 4);
}

// Windows programs keep their sections past the MS-DOS image, so the ZIP data is found
// from its end record instead: the first member's local header must be where it says.
bool HasZipDirectory(const std::string& path) {
  ArchiveCursor cursor;
  const int code = ArchiveOpen(path, cursor);
  ArchiveClose(cursor);
  if (code != kArchiveMember) return false;
  std::unique_ptr<ArchiveFile> file = ArchiveFile::Open(path);
  uint8_t signature[4];
  return file != nullptr && file->Seek(cursor.localHeaderOffset) &&
         file->ReadExactly(signature, sizeof signature) && IsZipSignature(signature, 3, 4);
}

}  // namespace

bool IsArchiveFile(const std::string& path) {
  if (path.find('.') == std::string::npos) return false;
  std::string file = path;
  if (file.back() == '\\' || file.back() == '/') file.pop_back();
  std::error_code error;
  if (std::filesystem::is_directory(file, error)) return false;

  std::unique_ptr<ArchiveFile> input = ArchiveFile::Open(file);
  if (input == nullptr) return false;
  uint8_t head[kHeadSize] = {};
  const int64_t count = input->Read(head, kHeadSize);
  if (count == static_cast<int64_t>(kHeadSize) && IsZipSignature(head, 3, 4)) return true;
  if (count <= 2 || head[0] != 'M' || head[1] != 'Z') return false;

  const int64_t imageSize = ExecutableImageSize(head);
  if (imageSize > 0 && input->Seek(static_cast<uint64_t>(imageSize))) {
    uint8_t next[kHeadSize] = {};
    if (StartsArchiveData(next, input->Read(next, kHeadSize))) return true;
  }
  input.reset();
  return HasZipDirectory(file);
}

}  // namespace rw
