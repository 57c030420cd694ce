#include <algorithm>
#include <cstring>
#include <optional>

#include "archive/directory_reader.h"
#include "archive/little_endian.h"
#include "text/name_text.h"

namespace rw {

namespace {

constexpr uint32_t kWindowSize = 4096;
constexpr uint32_t kEndRecordSize = 22;
// The record and the longest archive comment; nothing further from the end can be it.
constexpr uint64_t kEndRecordReach = kEndRecordSize + 65535;
constexpr uint32_t kCentralHeaderSize = 46;
constexpr int64_t kWholeDirectoryLimit = 127996;
constexpr uint16_t kUtf8NameFlag = 0x0800;  // general purpose bit 11

struct EndRecordSearch {
  int code = kArchiveUnreadable;
  uint64_t position = 0;
  uint32_t directoryOffset = 0;
};

// Scans backwards from the end in windows that overlap by the record's size, so a record
// split between two windows is still seen whole in one of them.
EndRecordSearch FindEndRecord(ArchiveFile& file, uint64_t fileSize) {
  EndRecordSearch result;
  uint8_t window[kWindowSize];
  const uint32_t length = static_cast<uint32_t>(std::min<uint64_t>(fileSize, kWindowSize));
  const uint64_t earliest = fileSize - std::min(fileSize, kEndRecordReach);
  uint64_t start = fileSize - length;
  for (;;) {
    if (!file.Seek(start) || !file.ReadExactly(window, length)) return result;
    if (length >= kEndRecordSize) {
      for (uint32_t i = length - kEndRecordSize + 1; i-- > 0;) {
        if (IsZipSignature(window + i, 5, 6)) {
          result.position = start + i;
          result.directoryOffset = ReadLe32(window + i + 16);
          result.code = result.position < kCentralHeaderSize ? kArchiveDamaged : kArchiveMember;
          return result;
        }
      }
    }
    if (start <= earliest) return result;
    start = std::max(earliest, start - std::min<uint64_t>(start, kWindowSize - kEndRecordSize));
  }
}

int CloseWith(ArchiveCursor& cursor, int code) {
  ArchiveClose(cursor);
  return code;
}

uint32_t RecordLength(const uint8_t* record) {
  return kCentralHeaderSize + ReadLe16(record + 28) + ReadLe16(record + 30) + ReadLe16(record + 32);
}

// Moves the unread tail to the front and fills the rest from the file.
bool Refill(ArchiveCursor& cursor) {
  const uint32_t tail = cursor.filled - cursor.position;
  std::memmove(cursor.buffer.get(), cursor.buffer.get() + cursor.position, tail);
  const int64_t got = cursor.file->Read(cursor.buffer.get() + tail, cursor.bufferSize - tail);
  if (got < 0) return false;
  cursor.filled = tail + static_cast<uint32_t>(got);
  cursor.position = 0;
  return true;
}

int LoadMember(ArchiveCursor& cursor) {
  if (cursor.file != nullptr && cursor.position > 0) {
    const uint32_t remaining = cursor.filled - cursor.position;
    const uint8_t* record = cursor.buffer.get() + cursor.position;
    const bool whole = remaining >= kCentralHeaderSize && RecordLength(record) <= remaining;
    if (!whole && !Refill(cursor)) return CloseWith(cursor, kArchiveNoMember);
  }
  const uint32_t remaining = cursor.filled - cursor.position;
  const uint8_t* record = cursor.buffer.get() + cursor.position;
  if (remaining < 4 || !IsZipSignature(record, 1, 2)) return CloseWith(cursor, kArchiveNoMember);
  // A record that runs past the directory: the archive is damaged, and the walk says so.
  if (remaining < kCentralHeaderSize || RecordLength(record) > remaining) {
    return CloseWith(cursor, kArchiveDamaged);
  }
  cursor.flags = ReadLe16(record + 8);
  cursor.method = ReadLe16(record + 10);
  cursor.dateTime = ReadLe32(record + 12);
  cursor.crc32 = ReadLe32(record + 16);
  cursor.compressedSize = ReadLe32(record + 20);
  cursor.size = ReadLe32(record + 24);
  cursor.attributes = record[5] == 0 ? record[38] : 0;
  cursor.localHeaderOffset = ReadLe32(record + 42);
  const uint16_t nameLength = ReadLe16(record + 28);
  cursor.name =
      ZipNameToUtf8(std::string_view(reinterpret_cast<const char*>(record + kCentralHeaderSize),
                                     std::min<size_t>(nameLength, ArchiveCursor::kMaxNameLength)),
                    (cursor.flags & kUtf8NameFlag) != 0);
  std::replace(cursor.name.begin(), cursor.name.end(), '/', '\\');
  cursor.position += RecordLength(record);
  return kArchiveMember;
}

}  // namespace

int ArchiveOpen(const std::string& archivePath, ArchiveCursor& cursor) {
  ArchiveClose(cursor);
  std::unique_ptr<ArchiveFile> file = ArchiveFile::Open(archivePath);
  if (file == nullptr) return kArchiveUnreadable;
  const std::optional<uint64_t> fileSize = file->Size();
  if (!fileSize || *fileSize == 0) return kArchiveUnreadable;
  const EndRecordSearch end = FindEndRecord(*file, *fileSize);
  if (end.code != kArchiveMember) return end.code;

  const int64_t distance = static_cast<int64_t>(end.position) - end.directoryOffset;
  if (!file->Seek(end.directoryOffset)) return kArchiveUnreadable;
  if (distance >= -4 && distance < kWholeDirectoryLimit) {
    // The directory and the end record's signature, which stops the walk.
    const uint32_t length = static_cast<uint32_t>(distance + 4);
    cursor.buffer = std::make_unique<uint8_t[]>(std::max<uint32_t>(length, 1));
    if (!file->ReadExactly(cursor.buffer.get(), length))
      return CloseWith(cursor, kArchiveUnreadable);
    cursor.bufferSize = length;
    cursor.filled = length;
  } else {
    cursor.buffer = std::make_unique<uint8_t[]>(ArchiveCursor::kStreamingBufferSize);
    const int64_t got = file->Read(cursor.buffer.get(), ArchiveCursor::kStreamingBufferSize);
    if (got < 0) return CloseWith(cursor, kArchiveUnreadable);
    cursor.bufferSize = ArchiveCursor::kStreamingBufferSize;
    cursor.filled = static_cast<uint32_t>(got);
    cursor.file = std::move(file);
  }
  cursor.position = 0;
  return LoadMember(cursor);
}

int ArchiveNext(ArchiveCursor& cursor) {
  if (cursor.buffer == nullptr) return kArchiveDamaged;
  return LoadMember(cursor);
}

void ArchiveClose(ArchiveCursor& cursor) {
  cursor.buffer.reset();
  cursor.file.reset();
  cursor.bufferSize = 0;
  cursor.filled = 0;
  cursor.position = 0;
}

}  // namespace rw
