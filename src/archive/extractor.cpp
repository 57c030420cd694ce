#include "archive/extractor.h"

#include <zlib.h>

#include "archive/directory_reader.h"
#include "archive/extraction_pacer.h"
#include "archive/extraction_targets.h"
#include "archive/local_header.h"
#include "archive/member_decoders.h"

namespace rw {

namespace {

// The output's CRC-32, taken from every piece on its way to the target.
class CheckedOutput : public DecoderOutput {
 public:
  explicit CheckedOutput(DecoderOutput& target) : target_(target) {}
  bool Deliver(const uint8_t* data, size_t size) override {
    crc_ = crc32_z(crc_, data, size);
    return target_.Deliver(data, size);
  }
  uint32_t crc() const { return static_cast<uint32_t>(crc_); }

 private:
  DecoderOutput& target_;
  uLong crc_ = crc32_z(0, nullptr, 0);
};

constexpr size_t kReadBufferSize = 64 * 1024;

// Tick counts wrap, so the distance is the shorter way round.
uint32_t TickDistance(uint32_t a, uint32_t b) {
  const uint32_t forward = a - b;
  const uint32_t backward = b - a;
  return forward < backward ? forward : backward;
}

// A stored member has no end of its own, so when its sizes follow the data (flag bit 3) only
// the central record tells where it ends; its CRC-32 is taken from there too.
bool TakeStoredSizesFromDirectory(const std::string& archivePath, uint32_t localHeaderOffset,
                                  LocalHeader& header) {
  if (header.method != 0 || !header.HasDataDescriptor()) return false;
  ArchiveCursor cursor;
  if (ArchiveFindAt(archivePath, localHeaderOffset, cursor) != kArchiveMember) return false;
  header.compressedSize = cursor.compressedSize;
  header.size = cursor.size;
  header.crc32 = cursor.crc32;
  return true;
}

}  // namespace

int Extractor::unzipfiletodisk(const std::string& archivePath, const std::string& outputPath,
                               uint16_t attributes, const CancelRequested& cancel,
                               uint32_t localHeaderOffset) {
  FileTarget target(files_, outputPath, attributes);
  return Extract(archivePath, localHeaderOffset, target, cancel);
}

int Extractor::unzipfiletomemory(const std::string& archivePath, uint8_t* destination,
                                 uint32_t& size, const CancelRequested& cancel,
                                 uint32_t localHeaderOffset) {
  return unzipfiletomemoryskip(archivePath, destination, size, cancel, 0, localHeaderOffset);
}

int Extractor::unzipfiletomemoryskip(const std::string& archivePath, uint8_t* destination,
                                     uint32_t& size, const CancelRequested& cancel, uint32_t skip,
                                     uint32_t localHeaderOffset) {
  MemoryTarget target(destination, size, skip);
  const int code = Extract(archivePath, localHeaderOffset, target, cancel);
  if (code != kExtractBusy) size = target.written();
  return code;
}

int Extractor::Extract(const std::string& archivePath, uint32_t localHeaderOffset,
                       ExtractionTarget& target, const CancelRequested& cancel) {
  if (busy_ &&
      (!lastService_ || TickDistance(clock_.TickCount(), *lastService_) <= kStaleAfterMs)) {
    return kExtractBusy;
  }
  busy_ = true;
  const int code = Decode(archivePath, localHeaderOffset, target, cancel);
  busy_ = false;
  return code;
}

int Extractor::Decode(const std::string& archivePath, uint32_t localHeaderOffset,
                      ExtractionTarget& target, const CancelRequested& cancel) {
  // Members are read in small blocks; a larger buffer saves most of the system calls.
  std::unique_ptr<ArchiveFile> file = ArchiveFile::Open(archivePath, kReadBufferSize);
  if (file == nullptr) return kExtractInputFailed;
  std::optional<LocalHeader> header = ReadLocalHeader(*file, localHeaderOffset);
  if (!header) return kExtractBadData;
  const bool sizesFromDirectory =
      TakeStoredSizesFromDirectory(archivePath, localHeaderOffset, *header);
  switch (header->method) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 8:
      break;
    default:
      return kExtractUnsupportedMethod;
  }
  if ((header->flags & LocalHeader::kEncrypted) != 0) return kExtractEncrypted;
  if (!file->Seek(header->dataOffset)) return kExtractInputFailed;

  int code = target.Begin();
  if (code != kExtractOk) return target.End(code, header->dateTime);

  ExtractionPacer pacer([this] { ServiceMessages(); }, cancel, header->compressedSize);
  CheckedOutput output(target);
  uint64_t consumed = 0;
  code = DecodeMember(*header, *file, pacer, output, consumed);
  uint32_t expectedCrc = header->crc32;
  if (code == kExtractOk && header->HasDataDescriptor() && !sizesFromDirectory) {
    const std::optional<uint32_t> crc = ReadDescriptorCrc(*file, header->dataOffset + consumed);
    if (crc) {
      expectedCrc = *crc;
    } else {
      code = kExtractInputFailed;
    }
  }
  file.reset();
  if (code == kExtractOk && output.crc() != expectedCrc) code = kExtractCrcMismatch;
  return target.End(code, header->dateTime);
}

void Extractor::ServiceMessages() {
  pump_.ServicePending();
  lastService_ = clock_.TickCount();
}

}  // namespace rw
